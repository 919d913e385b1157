// lerva-screenshot OUT.bmp: starts the real client, plays the server's side
// up to the middle of a deal and saves a picture of the table window.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "protocol.h"
#include "support/fake_server.h"  // Windows Sockets before the rest of Windows
#include "support/client_process.h"

using namespace lerva;

namespace {

// The table window as it is on the screen, as a 24-bit bitmap file.
bool saveWindow(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (width * 3 + 3) / 4 * 4, size = stride * height;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    info.bmiHeader.biSizeImage = size;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return static_cast<bool>(out);
}

int fail(const char* what) {
    std::fprintf(stderr, "lerva-screenshot: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return fail("usage: lerva-screenshot OUT.bmp");
    FakeServer server(113);
    if (!server.listening()) return fail("port 113 is taken");
    ClientProcess client(windowsPath(LERVA_EXE), windowsPath(LERVA_RUN_DIR));
    if (!client.waitForTable()) return fail("the client did not start");
    ClientProcess::click(client.control(201));
    HWND dialog = client.waitForDialog();
    if (!dialog) return fail("no connection dialog");
    ClientProcess::type(GetDlgItem(dialog, 102), "Mari");
    ClientProcess::click(GetDlgItem(dialog, 204));
    if (!server.accept() || !server.receive() || !server.receive()) return fail("the client did not connect");

    for (const char* name : {"Kaja", "T\xF5nu", "Mart"}) server.send(nameBlock(name));
    server.send(dealBlock({14, 23, 51, 94, 72, 61, 13, 82, 31}));
    server.send(bidReportBlock(0, 5));
    server.send(bidReportBlock(1, 6));
    server.send(bidReportBlock(3, 0));
    server.send(bidReportBlock(2, 0));
    server.send(bidReportBlock(0, 0));
    server.send(nextBlock(3));
    server.send(okcBlock());
    Sleep(2500);
    // The player leads the king of clubs; one trick is played, the second
    // is under way.
    client.clickTable(190, 420);
    if (!server.receive()) return fail("the client played no card");
    for (auto [seat, card] : {std::pair{0, 94}, {1, 43}, {2, 63}, {3, 81}}) server.send(cardReportBlock(seat, CardCode(card)));
    Sleep(3500);
    server.send(cardReportBlock(1, 33));
    server.send(cardReportBlock(2, 53));
    server.send(okcBlock());
    client.waitForInfo("Pakkumine algas");
    Sleep(1500);
    if (!saveWindow(client.table(), argv[1])) return fail("cannot write the picture");
    ClientProcess::click(client.control(203));
    client.waitForExit();
    std::printf("wrote %s\n", argv[1]);
    return 0;
}
