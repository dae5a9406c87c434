#pragma once

#include <QObject>

namespace host {

class TClientDataSet;

// Links a record set to the controls bound to it. Controls listen to the signals and move the set
// through setCurrentRow, so a grid's current row and the set's are one and the same. Rows are
// 0-based here.
class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject* parent = nullptr);
    ~TDataSource() override;

    void SetDataSet(TClientDataSet* dataSet);
    TClientDataSet* DataSet() const { return dataSet_; }

    // -1 when the set is closed or empty.
    int currentRow() const;
    // Moves the set; its AfterScroll runs and may throw, so callers from Qt events go through the
    // dispatch boundary.
    void setCurrentRow(int row);

signals:
    // Rows, fields or the whole set changed: repaint everything.
    void dataReset();
    void currentRowChanged(int row);
    void rowDataChanged(int row);
    void stateChanged();

private:
    friend class TClientDataSet;
    TClientDataSet* dataSet_ = nullptr;
};

} // namespace host
