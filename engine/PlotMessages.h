#pragma once
#include <cstdint>
#include <string>

enum : unsigned {
    WM_USER = 0x400,
    WM_PLOT_PROGRESS = WM_USER + 100,
    WM_PLOT_FINISHED = WM_USER + 101,
    WM_PLOT_SHOWN = WM_USER + 102,
};

// The receiver of the plot's messages: the parent of the drawing window.
class IPlotMessageSink {
public:
    virtual long OnPlotMessage(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
    // A paint is about to start the animation worker: show the progress bar and this status.
    virtual void OnDrawingStarted(const std::string& status) { (void)status; }

protected:
    ~IPlotMessageSink() = default;
};

// What the canvas needs of the window it draws for.
class CPlotHost {
public:
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Copies the picture into the window's screen image; any thread.
    virtual void CopyToScreen(const class QImage& picture) = 0;
    // Delivered before the call returns, from either thread.
    virtual void SendPlotMessage(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) = 0;
    virtual void PostPlotMessage(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) = 0;

protected:
    ~CPlotHost() = default;
};
