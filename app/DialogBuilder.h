#pragma once
#include <QWidget>
#include <functional>
#include <map>

struct DialogItem;
struct DialogTemplate;

// Makes the widgets of a dialog template inside a client widget and finds them by id, the
// way a dialog's controls are found with GetDlgItem.
class CDialogBuilder {
public:
    // Returns a widget for an item, or nullptr to get the default widget of its kind.
    using Factory = std::function<QWidget*(const DialogItem&, QWidget* parent)>;

    void Build(const DialogTemplate& dialog, QWidget* client, const Factory& factory = {});
    QWidget* GetDlgItem(int id) const;
    template <typename T> T* Item(int id) const { return qobject_cast<T*>(GetDlgItem(id)); }

    // Widens a caption to its text when the text is wider than its rectangle.
    static void FitWidth(QWidget* w);

private:
    std::map<int, QWidget*> m_items;
};
