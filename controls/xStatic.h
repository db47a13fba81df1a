#pragma once
#include "platform/Colors.h"
#include <QFont>
#include <QImage>
#include <QStringList>
#include <QWidget>
#include <cstdint>

class QFontMetrics;
class QUrl;

// Styles of a static control's template that decide how a CxStatic lays out its text.
enum : uint32_t {
    SS_CENTER = 0x0001,
    SS_RIGHT = 0x0002,
    SS_NOPREFIX = 0x0080,
    SS_CENTERIMAGE = 0x0200,
    SS_ENDELLIPSIS = 0x4000,
    SS_PATHELLIPSIS = 0x8000,
    SS_WORDELLIPSIS = 0xC000,
    SS_ELLIPSISMASK = 0xC000,
};

// The general label: its own colours and font, text broken into lines that fit its width,
// optionally a bitmap background, which a .bmp file dropped onto it replaces.
//
// Two texts are kept apart, as a window text and a label text:
//  - SetWindowText changes only what the label shows (the label text);
//  - SetText stands for setting the window's own text: it changes both;
//  - GetWindowText returns the window's own text, Text() what is shown.
class CxStatic : public QWidget {
    Q_OBJECT
public:
    explicit CxStatic(QWidget* parent = nullptr, uint32_t nTemplateStyle = 0);
    CxStatic(const QString& strText, QWidget* parent = nullptr, uint32_t nTemplateStyle = 0);

    void SetTextColor(COLORREF crText);
    // nGradientMode 0: solid crBkgnd; 1: horizontal gradient crBkgnd to crGradientEnd;
    // any other value: vertical gradient.
    void SetBkColor(COLORREF crBkgnd, COLORREF crGradientEnd = 0, int nGradientMode = 0);
    // The label keeps its own copy of the font.
    void SetFont(const QFont& font, bool bRedraw = true);
    // A bold copy of the widget's own font (not of the label's font), so it is idempotent.
    void SetFontBold();

    void SetWindowText(const QString& strText);
    void SetText(const QString& strText);
    QString GetWindowText() const { return m_strWindowText; }
    QString Text() const { return m_strText; }

    // A null image removes the bitmap background. The widget keeps its size.
    void SetBitmap(const QImage& bitmap);
    // Loads a BMP file as the background; on failure nothing changes and false is returned.
    bool LoadBitmapFile(const QString& strPath);

    void SetTemplateStyle(uint32_t nStyle);
    uint32_t TemplateStyle() const { return m_nTemplateStyle; }

    COLORREF TextColor() const { return m_crText; }
    COLORREF BkColor() const { return m_crBkgnd; }
    COLORREF GradientEndColor() const { return m_crGradientEnd; }
    int GradientMode() const { return m_nGradientMode; }
    const QFont& LabelFont() const { return m_font; }
    bool HasBitmap() const { return m_bBitmap; }
    const QImage& Bitmap() const { return m_bitmap; }
    QString BitmapFileName() const { return m_strBitmapFile; }

    // The lines the label shows for strText in a width of nWidth pixels.
    static QStringList BreakLines(const QString& strText, int nWidth, const QFontMetrics& fm);
    // Qt alignment and text flags for a line drawn under this template style.
    static int TextFlags(uint32_t nTemplateStyle, const QString& strText);
    // Top of the first of nLines lines of height nLineHeight in a label nHeight pixels high.
    static int FirstLineTop(uint32_t nTemplateStyle, int nHeight, int nLines, int nLineHeight);
    // The path of a drop that should become the background: exactly one local file whose
    // name ends in ".bmp" in any case; empty otherwise.
    static QString DroppedBitmapPath(const QList<QUrl>& urls);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString m_strText;
    QString m_strWindowText;
    COLORREF m_crText;
    int m_nGradientMode = 0;
    COLORREF m_crBkgnd;
    COLORREF m_crGradientEnd;
    COLORREF m_crGradientStart;
    uint32_t m_nTemplateStyle;
    bool m_bBitmap = false;
    QImage m_bitmap;
    QString m_strBitmapFile;
    QFont m_font;
};
