#include "engine/DrawWnd.h"

#include "engine/RunGate.h"
#include "platform/ThreadHandOver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QThread>
#include <chrono>
#include <cstring>
#include <system_error>

namespace {
using platform::HandOver;
using platform::TakeOver;

void Post(QObject* receiver, QEvent* event) {
    HandOver(event);
    QCoreApplication::postEvent(receiver, event);
}

const QEvent::Type kPostedPlotEvent = static_cast<QEvent::Type>(QEvent::User + 100);
const QEvent::Type kSentWakeEvent = static_cast<QEvent::Type>(QEvent::User + 101);

class CPlotEvent : public QEvent {
public:
    CPlotEvent(unsigned message, uintptr_t wParam, intptr_t lParam)
        : QEvent(kPostedPlotEvent), m_message(message), m_wParam(wParam), m_lParam(lParam) {}
    unsigned m_message;
    uintptr_t m_wParam;
    intptr_t m_lParam;
};
} // namespace

CDrawWnd::CDrawWnd() : m_strDrawing("Drawing graphs....") {}

CDrawWnd::~CDrawWnd() {
    StopWorker();
    if (m_worker.joinable())
        m_worker.join();
}

bool CDrawWnd::Create(QWidget* parent, const QRect& rect) {
    setParent(parent);
    setGeometry(rect);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    m_rcClient = QRect(0, 0, rect.width(), rect.height());
    {
        std::lock_guard<std::mutex> lock(m_screenMutex);
        m_screen = QImage(rect.width(), rect.height(), QImage::Format_RGB32);
        m_screen.fill(Qt::black);
    }
    show();
    return true;
}

void CDrawWnd::Reset(int accumulate) {
    RequestStop();
    m_surface.Reset(this, accumulate);
}

void CDrawWnd::StartOnPaint() {
    ReapEndedWorker();
    m_nStartPending = IsWorkerRunning() ? 0 : 1;
    RedrawNow();
}

int CDrawWnd::SetPlane(int plane) {
    m_nPlane = plane;
    if (StopWorker())
        return 0;
    RedrawNow();
    return 1;
}

void CDrawWnd::ClearPlane(int plane) {
    EraseScreen();
    update();
    m_surface.ClearPlane(plane, m_rcClient);
}

void CDrawWnd::RequestStop() {
    RunGate().Set();
    m_surface.m_nStop = 1;
}

void CDrawWnd::Pause() {
    m_surface.m_nStop = 0;
    RunGate().Reset();
}

void CDrawWnd::ReapEndedWorker() {
    if (!m_bPassEnded)
        return;
    while (IsWorkerRunning())
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    if (m_worker.joinable())
        m_worker.join();
    m_bPassEnded = false;
}

int CDrawWnd::StopWorker() {
    ReapEndedWorker();
    if (!IsWorkerRunning())
        return 0;
    RequestStop();
    while (IsWorkerRunning()) {
        // The worker may be blocked sending its end message; let it through.
        DeliverSentMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    DeliverSentMessages();
    if (m_worker.joinable())
        m_worker.join();
    return 1;
}

void CDrawWnd::RenderCurrent() {
    int plane = m_nPlane;
    if (plane != 0 && plane != 1 && plane != 2)
        plane = 3;
    if (m_nAnimate)
        m_surface.DrawPlane(plane, nullptr);
    else
        m_surface.ShowPlane(plane);
}

void CDrawWnd::RenderCurrentOnWorker(int animate, int plane) {
    if (plane != 0 && plane != 1 && plane != 2)
        plane = 3;
    if (animate)
        m_surface.DrawAnimationOnWorker(plane);
    else
        m_surface.ShowPlane(plane);
}

unsigned CDrawWnd::DrawWorkerProc(CDrawWnd* window, int animate, int plane) {
    window->RenderCurrentOnWorker(animate, plane);
    return 0;
}

void CDrawWnd::Invalidate() {
    m_bPaintPending = true;
    update();
}

void CDrawWnd::RedrawNow() {
    Invalidate();
    repaint();
}

QImage CDrawWnd::ScreenImage() const {
    std::lock_guard<std::mutex> lock(m_screenMutex);
    return m_screen.copy();
}

void CDrawWnd::EraseScreen() {
    std::lock_guard<std::mutex> lock(m_screenMutex);
    m_screen.fill(Qt::black);
}

void CDrawWnd::CopyToScreen(const QImage& picture) {
    {
        std::lock_guard<std::mutex> lock(m_screenMutex);
        // A deep copy: the worker goes on drawing into its buffer.
        const int rows = std::min(m_screen.height(), picture.height());
        const int bytes = std::min(m_screen.width(), picture.width()) * 4;
        if (picture.format() == QImage::Format_RGB32)
            for (int y = 0; y < rows; ++y)
                std::memcpy(m_screen.scanLine(y), picture.constScanLine(y), bytes);
    }
    QMetaObject::invokeMethod(this, "update", Qt::QueuedConnection);
}

// The window the messages are for: the nearest ancestor that takes them (the main window,
// which may hold the drawing window inside a client area of its own).
IPlotMessageSink* CDrawWnd::Sink() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* sink = dynamic_cast<IPlotMessageSink*>(w))
            return sink;
    return nullptr;
}

long CDrawWnd::Deliver(unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (IPlotMessageSink* sink = Sink())
        return sink->OnPlotMessage(message, wParam, lParam);
    return 0;
}

void CDrawWnd::SendPlotMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {
    if (QThread::currentThread() == thread()) {
        Deliver(message, wParam, lParam);
        return;
    }
    SentMessage sent{message, wParam, lParam};
    {
        std::lock_guard<std::mutex> lock(m_sentMutex);
        m_sent.push_back(&sent);
    }
    Post(this, new QEvent(kSentWakeEvent));
    std::unique_lock<std::mutex> lock(m_sentMutex);
    m_sentDone.wait(lock, [&] { return sent.done; });
}

void CDrawWnd::PostPlotMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {
    Post(this, new CPlotEvent(message, wParam, lParam));
}

void CDrawWnd::DeliverSentMessages() {
    for (;;) {
        SentMessage* next = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_sentMutex);
            if (m_sent.empty())
                return;
            next = m_sent.front();
            m_sent.pop_front();
        }
        Deliver(next->message, next->wParam, next->lParam);
        const bool finished = next->message == WM_PLOT_FINISHED;
        {
            std::lock_guard<std::mutex> lock(m_sentMutex);
            next->done = true;
        }
        m_sentDone.notify_all();
        if (finished)
            m_bPassEnded = true;
    }
}

bool CDrawWnd::event(QEvent* e) {
    TakeOver(e);
    if (e->type() == kPostedPlotEvent) {
        auto* plot = static_cast<CPlotEvent*>(e);
        Deliver(plot->m_message, plot->m_wParam, plot->m_lParam);
        return true;
    }
    if (e->type() == kSentWakeEvent) {
        DeliverSentMessages();
        return true;
    }
    return QWidget::event(e);
}

void CDrawWnd::StartWorker() {
    if (m_worker.joinable())
        m_worker.join(); // the previous worker has ended
    // Cleared here, before the thread exists, so that a Stop or a pause pressed while the
    // thread is starting is not lost.
    m_surface.m_nStop = 0;
    m_bPassEnded = false;
    m_bWorkerRunning = true;
    try {
        // The flag and plane as they are when the paint starts the worker, so that a Stop
        // pressed before the thread runs pauses it instead of ending it.
        m_worker = std::thread([this, animate = m_nAnimate.load(), plane = m_nPlane.load()] {
            DrawWorkerProc(this, animate, plane);
            m_bWorkerRunning = false;
        });
        ++m_nWorkersStarted;
    } catch (const std::system_error&) {
        m_bWorkerRunning = false;
    }
}

void CDrawWnd::HandlePaint() {
    // The class background erases the invalidated area to black first.
    EraseScreen();
    if (m_nStartPending) {
        m_nStartPending = 0;
        if (IPlotMessageSink* sink = Sink())
            sink->OnDrawingStarted(m_strDrawing);
        StartWorker();
    } else if (!IsWorkerRunning() || !RunGate().IsSet()) {
        RenderCurrent();
    }
    // Otherwise the worker's next copy restores the picture within ten points.
}

void CDrawWnd::paintEvent(QPaintEvent*) {
    if (m_bPaintPending) {
        m_bPaintPending = false;
        HandlePaint();
    }
    QPainter painter(this);
    {
        std::lock_guard<std::mutex> lock(m_screenMutex);
        painter.drawImage(0, 0, m_screen);
    }
    for (const CPlotMark& m : m_marks) {
        QPoint at;
        if (!PixelOf(m, at))
            continue;
        const QColor colour = m.bStable ? QColor(60, 230, 90) : QColor(255, 255, 255);
        painter.setPen(QPen(colour, 2));
        painter.setBrush(m.bStable ? QBrush(colour) : Qt::NoBrush);
        painter.drawEllipse(at, 5, 5);
    }
}

void CDrawWnd::SetMarks(std::vector<CPlotMark> marks) {
    m_marks = std::move(marks);
    update();
}

bool CDrawWnd::PixelOf(const CPlotMark& m, QPoint& at) const {
    const CAttractor* a = m_surface.Attractor();
    const int plane = m_nPlane.load();
    if (!a || plane < 0 || plane > 3)
        return false;
    // The record's zoom and centres, as the pictures were drawn with them; the plotter's own
    // copies are the worker's while it runs.
    const CTrajectoryPlotter& p = m_surface.Plotter();
    const int32_t column =
        ProjectColumn(plane, a->m_zoom.m_value, a->m_center[plane].x, p.m_cos, m.x, m.y, m.z);
    const int32_t row =
        ProjectRow(plane, a->m_zoom.m_value, a->m_center[plane].y, p.m_sin, m.x, m.y, m.z);
    if (column == kNoPixelOffset || row == kNoPixelOffset)
        return false;
    const int64_t x = m_surface.Width() / 2 + int64_t{column},
                  y = m_surface.Height() / 2 - int64_t{row};
    if (x < -100 || y < -100 || x > m_surface.Width() + 100 || y > m_surface.Height() + 100)
        return false;
    at = QPoint(static_cast<int>(x), static_cast<int>(y));
    return true;
}
