#pragma once
#include "controls/HyperLink.h"
#include <QDialog>
#include <map>

class CxStatic;
class QLabel;
class QPushButton;

// The About box: program name and version, credits and the maker's web address as a link.
// Built from dialog template 100; every new box starts with a blue (not followed) link.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The control with this id, or null (as GetDlgItem).
    QWidget* GetDlgItem(int nId) const;
    CxStatic& VersionLabel() { return *m_pVersion; }
    CxStatic& ModelLabel() { return *m_pModel; }
    QLabel& IconLabel() { return *m_pIcon; }
    CHyperLink& Link() { return m_link; }

protected:
    bool OnInitDialog();

private:
    CxStatic* m_pVersion = nullptr; // 1093
    CxStatic* m_pModel = nullptr;   // 1094
    QLabel* m_pIdeaNames = nullptr;
    QLabel* m_pIdeaCaption = nullptr;
    QLabel* m_pSoftwareNames = nullptr;
    QLabel* m_pSoftwareCaption = nullptr;
    QLabel* m_pIcon = nullptr;
    QLabel* m_pLinkLabel = nullptr;
    QPushButton* m_pOk = nullptr;
    std::map<int, QWidget*> m_items;
    CHyperLink m_link;
};

// Runs the About box modally.
void ShowAboutDialog(QWidget* parent);
