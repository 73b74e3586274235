// What zelk2html-cli prints for a usage error and for --help; its manual
// page is made from --help.
#pragma once

namespace zelk {

inline constexpr const char* kUsage =
    "Usage: zelk2html-cli LISTING [-o PAGE] [--band B] [--field XY]\n"
    "                     [--format portrait|landscape|11x17]\n"
    "                     [--color|--no-color] [--bold|--no-bold] [--needed|--no-needed]\n"
    "                     [--s-checked|--no-s-checked] [--c-checked|--no-c-checked]\n"
    "                     [--ffma|--no-ffma] [--settings FILE] [--save-settings FILE]\n"
    "       zelk2html-cli LISTING --band all [-o FOLDER] [the options above]\n";

inline constexpr const char* kHelp =
    "Writes the grid map page of one band, or of every band, of a worked-grid\n"
    "listing (CSV).\n"
    "\n"
    "  LISTING              the listing: a header row \"Grid\" (or \"Prefix\") and one\n"
    "                       band column per band, then one row per grid\n"
    "                       (not standard input: the page needs its pictures\n"
    "                       beside it, so a lone - is refused as LISTING or PAGE)\n"
    "  -o, --output PAGE    the page to write (default: the listing's name with\n"
    "                       \".html\", in the current folder); never the listing\n"
    "                       or the settings file read\n"
    "  --band B             band index 0..10, band caption (\"2 M (144 MHz)\"), the\n"
    "                       caption's MHz (50, 144, ... 10000) or sat, or a column\n"
    "                       label such as 2M, 144, 23cm or SAT\n"
    "  --band all           one page per band column of the listing, in the folder\n"
    "                       -o names (default: the current folder; created when\n"
    "                       missing), each named after the listing and the\n"
    "                       band's MHz as its caption gives them: grids-144.html\n"
    "                       (2 M), grids-10000.html (10 GHz), grids-sat.html\n"
    "                       (Satellite); a band column without worked grids gets\n"
    "                       no page, and a label naming no band a warning;\n"
    "                       then grids-bands.html, the contents page: each\n"
    "                       band's checked, confirmed and worked grids over\n"
    "                       the whole listing, its FFMA squares and its grids\n"
    "                       no map can show, linking to the band's page (the\n"
    "                       same table follows the summary lines)\n"
    "  --field XY           the map's lower-left field, two letters A..R (FN)\n"
    "  --format F           portrait (3 x 4 fields), landscape (4 x 3) or 11x17 (6 x 4)\n"
    "  --color, --no-color  colors, or greys for a black-and-white printer\n"
    "  --bold, --no-bold    bold digits for worked, confirmed and checked squares\n"
    "  --needed, --no-needed        emphasize needed (unworked) squares\n"
    "  --s-checked, --no-s-checked  show submitted (S) squares as checked\n"
    "  --c-checked, --no-c-checked  show confirmed squares like checked ones\n"
    "  --ffma, --no-ffma    outline the FFMA squares of the contiguous USA\n"
    "  --settings FILE      take the options not given from a settings file that\n"
    "                       the dialog wrote (zelk2html.ini)\n"
    "  --save-settings FILE after success, save the choices as a settings file\n"
    "                       (not with --band all: a settings file holds one band;\n"
    "                       never the listing or the page); should that fail, the\n"
    "                       page stays and the exit status is 1\n"
    "  -h, --help           this text;  --version  the program's version\n"
    "\n"
    "Every option with a value also takes the form --option=VALUE; -- ends the\n"
    "options. Options not given come from --settings or from the defaults. When\n"
    "SOURCE_DATE_EPOCH is set (and not empty), the page is dated with that\n"
    "instant (UTC). When the field pictures cannot be put beside the page, a\n"
    "warning says why; the page is written all the same.\n"
    "Exit status: 0 page written, 1 error (no page written or changed; with\n"
    "--band all, pages already written stay; a page written but its settings\n"
    "file not saved), 2 usage.\n";

}  // namespace zelk
