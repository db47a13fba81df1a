#pragma once
#include <QString>

class CAttractor;
class CQel2Dlg;
class PARAMETER;

// One of the main window's thirteen value boxes: where it is, what it holds and what a
// range message calls it.
struct CValueBox {
    int nEdit;                          // index into CQel2Dlg::m_edit
    int nId;                            // control id
    unsigned nSorvanLabel, nOtherLabel; // string ids for each kind of attractor; 0: "Zoom"
    bool bInteger;                      // Iteration; its bound value is m_nIteration
    PARAMETER& (*Parameter)(CAttractor& a);
    QString CQel2Dlg::*pText; // the bound text, when not an array element
};

// In the order Run reads them.
extern const CValueBox kValueBoxes[13];
// The bound text of a box that has one (every box but Iteration).
QString* BoundText(CQel2Dlg& dlg, const CValueBox& box);
