// Where the icon is drawn in the client area while the window is minimized.
#pragma once

namespace zelk {

struct IconOrigin {
  int left;
  int top;
};

// Centred. An odd spare pixel cannot be split: (spare + 1) / 2 rounds up and
// gives it to the left and top margins: a 32-pixel icon in 65 pixels starts
// at 17, in 64 pixels at 16.
constexpr IconOrigin centred_icon_origin(int client_width, int client_height, int icon_width, int icon_height) {
  return {(client_width - icon_width + 1) / 2, (client_height - icon_height + 1) / 2};
}

}  // namespace zelk
