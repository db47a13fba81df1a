#pragma once
#include "engine/DrawWnd.h"

#include <QObject>
#include <memory>
#include <string>
#include <vector>

class CAttractor;

// One trajectory as the main window's plot shows it: a private copy of its record, named.
struct CNamedRecord {
    std::string name;
    std::unique_ptr<CAttractor> record;
};

// All that the windows beside the main one know of it: the record the boxes and the plot
// belong to, the trajectories the plot shows, a signal when they are replaced, and values
// written into the boxes as a country choice writes them. The main window implements it.
class CRecordHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual const CAttractor& Record() const = 0;
    // Private copies of what the plot shows: each accumulated country in turn, or the record.
    virtual std::vector<CNamedRecord> ShownRecords() const = 0;
    // Writes values into their boxes, marked changed as a country choice marks them; the next
    // Run takes them, and whatever else the boxes hold stays. Axes as qel::CSweep numbers
    // them: 0..6 the parameters a..g, 7..9 the start values X, Y, Z, 10 the Variation.
    virtual void WriteValues(const int* axes, const double* values, int count) = 0;
    // Points marked over the plot, in whatever plane it shows; none clears them.
    virtual void MarkPoints(std::vector<CPlotMark> marks) = 0;

signals:
    // A Run that drew, a switch of attractor or a load replaced what the plot shows.
    void RecordReplaced();
};
