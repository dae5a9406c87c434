#pragma once

#include "host/data/DataCell.h"
#include "host/data/TDateTimeField.h"
#include "host/data/TField.h"
#include "host/data/TFloatField.h"
#include "host/data/TStringField.h"
#include "protocol/Packet.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace host {

class TDataSource;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit };

// A remembered row. It names the row itself, not its position, so after a reload it is simply no
// longer valid instead of pointing at some other row.
struct TBookmark {
    std::uint64_t row = 0;
    bool isNull() const { return row == 0; }
};

// An in-memory record set with persistent typed fields, loaded whole from a data packet.
class TClientDataSet {
public:
    explicit TClientDataSet(QString name = {});
    ~TClientDataSet();
    TClientDataSet(const TClientDataSet&) = delete;
    TClientDataSet& operator=(const TClientDataSet&) = delete;

    QString Name; // named in messages, e.g. "cdsServico"

    // Persistent fields, in declaration order; only while the set is closed.
    TStringField& AddStringField(const QString& name, int size = TStringField::kDefaultSize);
    TFloatField& AddFloatField(const QString& name);
    TDateTimeField& AddDateTimeField(const QString& name);

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index) const;
    TField* FindField(const QString& name) const;
    // Throws Refusal when the set has no such field.
    TField& FieldByName(const QString& name) const;

    // Replaces every row with the packet's, matched by field name. A declared field missing from the
    // packet, of another type, or a text longer than its field refuses the whole packet (Refusal) and
    // leaves the set as it was. Fields the set does not declare are ignored; a set with no declared
    // fields takes the packet's.
    void LoadPacket(const proto::Packet& packet);
    // Opens the set empty, with its declared fields.
    void CreateDataSet();
    void Close();
    void EmptyDataSet();

    bool Active() const { return state_ != TDataSetState::dsInactive; }
    TDataSetState State() const { return state_; }
    bool IsEmpty() const { return rows_.empty(); }
    int RecordCount() const { return static_cast<int>(rows_.size()); }
    // 1-based; 0 when there is no current row.
    int RecNo() const { return current_ + 1; }
    void SetRecNo(int recNo);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }

    void First();
    void Next();
    void Prior();
    void Last();
    // Moves to the first row whose field equals the value (texts optionally ignoring case); false and
    // no move when none does.
    bool Locate(const QString& fieldName, const QVariant& value, bool ignoreCase = false);

    void Edit();
    void Post();
    void Cancel();

    TBookmark GetBookmark() const;
    bool BookmarkValid(const TBookmark& bookmark) const;
    // Throws Refusal when the row is gone (the set was emptied or reloaded).
    void GotoBookmark(const TBookmark& bookmark);
    void FreeBookmark(TBookmark& bookmark) { bookmark = {}; }

    // Raised after every change of the current row, the first positioning after loading rows
    // included; never for an empty load. Exceptions propagate to whoever moved the row.
    std::function<void(TClientDataSet&)> AfterScroll;

    // Bound controls stop following the set until the matching EnableControls, which then
    // refreshes them once. Nests.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disabled_ > 0; }

    // What a grid paints: a field's text for any row, with the text events reading that row.
    QString DisplayTextAt(int row, int field) const;
    const DataCell& CellAt(int row, int field) const;
    // While one lives, the fields read the given row instead of the current one: a grid's drawing
    // event reads the row being drawn.
    class ShownRow {
    public:
        ShownRow(const TClientDataSet& set, int row) : set_(set), saved_(set.shown_) { set.shown_ = row; }
        ~ShownRow() { set_.shown_ = saved_; }
        ShownRow(const ShownRow&) = delete;
        ShownRow& operator=(const ShownRow&) = delete;

    private:
        const TClientDataSet& set_;
        int saved_;
    };

    // Used by the fields.
    const DataCell& readCell(int field) const;
    void writeCell(int field, DataCell value);

private:
    friend class TDataSource;
    template <typename F, typename... Args> F& addField(Args&&... args);
    void checkClosed(const char* what) const;
    void checkBrowse();
    void moveTo(int row, bool force);
    void resetRows(std::vector<std::vector<DataCell>> rows);
    void notifyReset();
    void notifyCurrent();
    void notifyRowData(int row);
    void notifyState();

    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<std::vector<DataCell>> rows_;
    std::vector<std::uint64_t> rowIds_;
    std::uint64_t nextRowId_ = 1;
    std::vector<DataCell> editBuffer_;
    TDataSetState state_ = TDataSetState::dsInactive;
    int current_ = -1;
    mutable int shown_ = -1; // the row a grid is painting, or -1 for the current one
    bool eof_ = true;
    bool bof_ = true;
    int disabled_ = 0;
    bool pendingRefresh_ = false;
    std::vector<TDataSource*> sources_;
};

} // namespace host
