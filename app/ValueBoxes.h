#pragma once
#include <QString>

class CAttractor;
class PARAMETER;

// One of the main window's thirteen value boxes: which control it is, which row of labels it
// has, what it holds, what a range message calls it and how it shows a value. kValueBoxes is
// the one list of them.
struct CValueBox {
    enum EText { Trimmed, Fixed2, Whole };
    int nId;                            // control id
    int nRow;                           // its row of labels: a..g 0..6, X, Y, Z 7..9; -1: none
    unsigned nSorvanLabel, nOtherLabel; // string ids for each kind of attractor; 0: "Zoom"
    EText eText;
    PARAMETER& (*Parameter)(CAttractor& a);

    // The value as the box shows it: Iteration a whole number, Zoom two decimals, every other
    // box as "%8f" with its trailing zeros (and a point left bare) blanked.
    QString Text(double value) const;
    // The parameter's value as loaded.
    double Stored(CAttractor& a) const;
};

// In the order Run reads them.
extern const CValueBox kValueBoxes[13];
// The box of a control id, or of a row of labels; nullptr where there is none.
const CValueBox* ValueBoxOf(int id);
const CValueBox* RowValueBox(int row);
