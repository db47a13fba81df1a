#pragma once
#include "engine/PlotMessages.h"

#include <QImage>
#include <functional>

// A window-less host for the canvas: a screen image and a message callback.
class CHeadlessHost : public CPlotHost {
public:
    CHeadlessHost(int width, int height) : m_nWidth(width), m_nHeight(height) {}
    int ClientWidth() const override { return m_nWidth; }
    int ClientHeight() const override { return m_nHeight; }
    void CopyToScreen(const QImage& picture) override {
        m_screen = picture.copy();
        ++m_nCopies;
    }
    void SendPlotMessage(unsigned message, uintptr_t, intptr_t) override { Count(message); }
    void PostPlotMessage(unsigned message, uintptr_t, intptr_t) override { Count(message); }

    QImage m_screen;
    int m_nCopies = 0;
    int m_nProgress = 0, m_nFinished = 0, m_nShown = 0;
    std::function<void(unsigned)> m_onMessage;

private:
    void Count(unsigned message) {
        m_nProgress += message == WM_PLOT_PROGRESS;
        m_nFinished += message == WM_PLOT_FINISHED;
        m_nShown += message == WM_PLOT_SHOWN;
        if (m_onMessage)
            m_onMessage(message);
    }
    int m_nWidth, m_nHeight;
};
