// What every page of ours beside the maps shares: the start of the document,
// and names from the user's files made safe as text and as links.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zelk {

// The start of a page up to its title: a standard document in UTF-8, unlike
// the map pages, which keep their old quirks mode.
void write_document_start(std::FILE* out, const std::string& title);

// Text as HTML shows it: a listing may well be called "a<b>&c.csv". Bytes
// that are no UTF-8 (a name from a Latin-1 system) show as U+FFFD, so the
// page stays what it declares.
std::string html_escaped(std::string_view text);

// A file name as a relative URL: "#" would start a fragment, "?" a query and
// a ":" before any "/" a scheme, so all but the unreserved ASCII bytes are
// percent-encoded, whatever they encode.
std::string url_escaped(std::string_view name);

// A percentage as CSS reads it, "30.3%", whatever the locale's decimal mark.
std::string css_percent(double value);

}  // namespace zelk
