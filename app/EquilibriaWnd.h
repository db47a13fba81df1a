#pragma once
#include "analysis/Equilibria.h"

#include <QWidget>
#include <vector>

class CRecordHost;
class QCheckBox;
class QLabel;
class QTableWidget;

// "Equilibria...": where the host's economy has its steady states, inside the box of the start
// values' limits, each with the eigenvalues of the Jacobian there and what they make of it
// (stable node, saddle-focus, ...), for the equations as an ordinary differential equation. On
// request they are marked over the main window's plot. It follows every Run, switch and load.
class CEquilibriaWnd : public QWidget {
    Q_OBJECT
public:
    CEquilibriaWnd(CRecordHost& host, QWidget* owner);
    ~CEquilibriaWnd() override;

    void Open();
    // Finds the equilibria of the host's record again and shows them.
    void Refresh();

    const std::vector<qel::CEquilibrium>& Found() const { return m_found; }
    QTableWidget* m_pTable = nullptr;
    QLabel *m_pAbout = nullptr, *m_pStatus = nullptr;
    QCheckBox* m_pMark = nullptr;

private:
    void Mark();
    void closeEvent(QCloseEvent* event) override;

    CRecordHost& m_host;
    std::vector<qel::CEquilibrium> m_found;
};
