// The table's child controls.
#include <cstdio>

#include "MainWin.h"

namespace {

struct ControlSpec {
    const char* windowClass;
    const char* text;
    DWORD style;
    int x, y, width, height, id;
};

constexpr DWORD kButton = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON;

// In creation order. Creation failures of the first four are logged.
constexpr int kLoggedControls = 4;
constexpr ControlSpec kControls[] = {
    {"EDIT", nullptr,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
     0, 495, 600, 69, IDC_INFO},
    {"BUTTON", "Ühenda", kButton | WS_VISIBLE, 600, 495, 90, 23, IDC_CONNECT_TABLE},
    {"BUTTON", "Seaded", kButton | WS_VISIBLE | WS_DISABLED, 600, 518, 90, 23, IDC_SETTINGS},
    {"BUTTON", "Välju", kButton | WS_VISIBLE, 600, 541, 90, 23, IDC_EXIT},
    {"BUTTON", "Ruutu", kButton, 150, 470, 100, 25, IDC_TRUMP_FIRST + 0},
    {"BUTTON", "Ärtu", kButton, 250, 470, 100, 25, IDC_TRUMP_FIRST + 1},
    {"BUTTON", "Poti", kButton, 350, 470, 100, 25, IDC_TRUMP_FIRST + 2},
    {"BUTTON", "Risti", kButton, 450, 470, 100, 25, IDC_TRUMP_FIRST + 3},
    {"BUTTON", "Pass", kButton, 197, 470, 50, 25, IDC_PASS},
    {"BUTTON", "Ruutu", kButton, 247, 470, 50, 25, IDC_DIAMONDS_BID},
    {"BUTTON", "1", kButton, 297, 470, 25, 25, IDC_PASS + 1},
    {"BUTTON", "2", kButton, 322, 470, 25, 25, IDC_PASS + 2},
    {"BUTTON", "3", kButton, 347, 470, 25, 25, IDC_PASS + 3},
    {"BUTTON", "4", kButton, 372, 470, 25, 25, IDC_PASS + 4},
    {"BUTTON", "5", kButton, 397, 470, 25, 25, IDC_PASS + 5},
    {"BUTTON", "6", kButton, 422, 470, 25, 25, IDC_PASS + 6},
    {"BUTTON", "7", kButton, 447, 470, 25, 25, IDC_PASS + 7},
    {"BUTTON", "8", kButton, 472, 470, 25, 25, IDC_PASS + 8},
    {"BUTTON", "9", kButton, 497, 470, 25, 25, IDC_PASS + 9},
};

}  // namespace

void MainWin::build() {
    HWND* fields[] = {
        &infoBox,         &connectButton,   &settingsButton,  &exitButton,
        &trumpButtons[0], &trumpButtons[1], &trumpButtons[2], &trumpButtons[3],
        &passButton,      &diamondsBidButton,
        &bidButtons[0],   &bidButtons[1],   &bidButtons[2],   &bidButtons[3], &bidButtons[4],
        &bidButtons[5],   &bidButtons[6],   &bidButtons[7],   &bidButtons[8],
    };
    static_assert(std::size(kControls) == 19);

    FILE* errors = std::fopen("error", "w");
    for (int i = 0; i < 19; ++i) {
        const ControlSpec& c = kControls[i];
        *fields[i] = CreateWindowExA(0, c.windowClass, c.text, c.style, c.x, c.y, c.width, c.height,
                                     hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                     hInstance, nullptr);
        if (i < kLoggedControls && !*fields[i] && errors) {
            std::fprintf(errors, "%lu\n", GetLastError());
            std::fflush(errors);
        }
        if (i == kLoggedControls - 1 && errors) {
            std::fclose(errors);
            errors = nullptr;
        }
    }
}
