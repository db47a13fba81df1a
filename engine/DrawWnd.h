#pragma once
#include "engine/PlotMessages.h"
#include "engine/PlotSurface.h"

#include <QImage>
#include <QWidget>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A point marked over the plot (never drawn into its pictures): a ring, filled when the
// point is stable, in whatever plane is shown.
struct CPlotMark {
    double x = 0, y = 0, z = 0;
    bool bStable = false;
};

// The child window that shows the plot: it paints the current plane's picture and runs the
// one animation worker. Its messages go to its parent, which implements IPlotMessageSink.
class CDrawWnd : public QWidget, public CPlotHost {
    Q_OBJECT
public:
    CDrawWnd();
    ~CDrawWnd() override;

    // Places the window over rect of parent and shows it.
    bool Create(QWidget* parent, const QRect& rect);
    void SetAttractor(CAttractor* attractor) { m_surface.SetAttractor(attractor); }
    void Reset(int accumulate);
    void StartOnPaint();
    int SetPlane(int plane);
    void ClearPlane(int plane);
    void RenderPlaneInto(QImage& target) { m_surface.RenderPlaneInto(target, m_nPlane); }
    int IsWorkerRunning() const { return m_bWorkerRunning.load() ? 1 : 0; }
    void RequestStop();
    void Pause();
    int StopWorker();
    void RenderCurrent();
    // RenderCurrent as the worker runs it, with the flag and plane of its start.
    void RenderCurrentOnWorker(int animate, int plane);
    static unsigned DrawWorkerProc(CDrawWnd* window, int animate, int plane);

    // Invalidate with erase; the next paint runs the paint handler.
    void Invalidate();
    // Invalidate, then paint before returning.
    void RedrawNow();

    CPlotSurface& Surface() { return m_surface; }
    // Marks painted over the current plane; GUI thread only.
    void SetMarks(std::vector<CPlotMark> marks);
    const std::vector<CPlotMark>& Marks() const { return m_marks; }
    // Where a point lies in the current plane's picture, as the pass that drew it projects it;
    // false for a point with no pixel.
    bool PixelOf(const CPlotMark& m, QPoint& at) const;
    QImage ScreenImage() const;
    int WorkersStarted() const { return m_nWorkersStarted; }

    // Written by the main window, read by the worker at its start.
    std::atomic<int> m_nAnimate{0};
    std::atomic<int> m_nStartPending{0};
    std::atomic<int> m_nPlane{0};

    // CPlotHost
    int ClientWidth() const override { return m_rcClient.width(); }
    int ClientHeight() const override { return m_rcClient.height(); }
    void CopyToScreen(const QImage& picture) override;
    void SendPlotMessage(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) override;
    void PostPlotMessage(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct SentMessage {
        unsigned message;
        uintptr_t wParam;
        intptr_t lParam;
        bool done = false;
    };
    void HandlePaint();
    void StartWorker();
    void EraseScreen();
    IPlotMessageSink* Sink() const;
    long Deliver(unsigned message, uintptr_t wParam, intptr_t lParam);
    // Handles the messages the worker is blocked on; GUI thread only.
    void DeliverSentMessages();
    // Waits for and joins a worker that has delivered its end message: it only clears its
    // buffer and returns, so it no longer counts as running. GUI thread only.
    void ReapEndedWorker();

    std::thread m_worker;
    std::atomic<bool> m_bWorkerRunning{false};
    int m_nWorkersStarted = 0;
    bool m_bPaintPending = true;
    bool m_bPassEnded = false; // the worker's WM_PLOT_FINISHED has been handled
    QRect m_rcClient;
    std::string m_strDrawing;
    CPlotSurface m_surface;

    mutable std::mutex m_screenMutex;
    QImage m_screen;
    std::vector<CPlotMark> m_marks;

    std::mutex m_sentMutex;
    std::condition_variable m_sentDone;
    std::deque<SentMessage*> m_sent;
};
