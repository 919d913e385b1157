// A table window made the way the program makes it, for in-process tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "Lerva.h"
#include "MainWin.h"

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        table = std::make_unique<MainWin>("LervaGUI", "Lerva 1.1", WS_SYSMENU | WS_MINIMIZEBOX, 700, 600,
                                          nullptr, GetModuleHandleA(nullptr), brush, nullptr);
        table->showTitle = false;  // the title card would hold every test for two seconds
        table->create(301);
        table->show();
        table->build();
        Window = table.get();
    }
    void TearDown() override {
        Window = nullptr;
        table.reset();
        drainMessages();
    }
    // Handles what is queued for this thread, WM_QUIT included.
    static void drainMessages() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    std::string infoText() const {
        std::string text(GetWindowTextLengthA(table->infoBox) + 1, '\0');
        text.resize(GetWindowTextA(table->infoBox, text.data(), static_cast<int>(text.size())));
        return text;
    }

    static inline HBRUSH brush = CreateSolidBrush(RGB(178, 34, 34));
    std::unique_ptr<MainWin> table;
};
