#pragma once
#include "controls/GuideText.h"
#include <QFrame>
#include <string>
#include <vector>

class QFont;
class QScrollBar;

// The four width tables of a font, the way the layout expects them (see GuideText.h).
GUIDE_WIDTHS MeasureGuideWidths(const QFont& font);

// The layout of the segments in a client area of nWidth x nHeight pixels in this font.
std::vector<GUIDE_RUN> LayoutGuideRuns(const std::vector<TEXT_SEGMENT>& segments, const QFont& font,
                                       int nWidth, int nHeight);

// The character a guide byte stands for (the Windows ANSI code page); control bytes show '?'.
QChar GuideCharFromByte(unsigned char c);
QString GuideStringFromBytes(const std::string& bytes);

// The guide's text control: paints the marked-up segments with its own greedy word wrap, in
// its own font (the dialog's). The layout is made afresh on every paint. A text longer than
// the control scrolls: the scroll bar sits in the margin the wrap keeps free on the right.
class CGdStatic : public QFrame {
    Q_OBJECT
public:
    explicit CGdStatic(QWidget* parent = nullptr);

    // Parses the file; a missing or unreadable file leaves the control empty.
    void LoadText(const std::string& strPath);
    void SetGuideText(const std::string& bytes);

    const std::vector<TEXT_SEGMENT>& Segments() const { return m_segments; }

    // Height of the font in pixels, from which the line advance follows.
    static int LineHeight(const QFont& font);
    int LineHeight() const { return LineHeight(font()); }
    // The runs of the text down to the bottom of the view, in client coordinates (inside the
    // border) of the unscrolled text.
    std::vector<GUIDE_RUN> Layout() const;
    // Height the whole text needs, margins included.
    int ContentHeight() const;
    QScrollBar& ScrollBar() { return *m_pScrollBar; }
    int ScrollPos() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void UpdateScrollBar();

    std::vector<TEXT_SEGMENT> m_segments;
    QScrollBar* m_pScrollBar;
};
