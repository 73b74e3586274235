// Where the icon is drawn in the client area while the window is minimized.
#pragma once

namespace zelk {

struct IconOrigin {
  int left;
  int top;
};

// Centred, rounding as the original drawing code did: (client - icon + 1) / 2.
constexpr IconOrigin centred_icon_origin(int client_width, int client_height, int icon_width, int icon_height) {
  return {(client_width - icon_width + 1) / 2, (client_height - icon_height + 1) / 2};
}

}  // namespace zelk
