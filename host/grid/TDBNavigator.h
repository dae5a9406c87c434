#pragma once

#include "host/app/TControl.h"

#include <QFlags>
#include <QPointer>
#include <QWidget>

#include <functional>

class QToolButton;

namespace host {

class TDataSource;

enum class TNavigateBtn { nbFirst = 0x1, nbPrior = 0x2, nbNext = 0x4, nbLast = 0x8 };
Q_DECLARE_FLAGS(TNavigateButtons, TNavigateBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TNavigateButtons)

// Buttons that move a data source's record set: first, prior, next and last. A button is enabled
// while its move can go somewhere. A move runs the set's AfterScroll; from a button its failure
// reaches the error display, from BtnClick it reaches the caller.
class TDBNavigator : public QWidget, public TControl {
    Q_OBJECT
public:
    TDBNavigator(QWidget* parent, const QString& name);

    TDataSource* DataSource() const { return source_; }
    void SetDataSource(TDataSource* source);
    TNavigateButtons VisibleButtons() const { return visible_; }
    void SetVisibleButtons(TNavigateButtons buttons);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);

    // The move a button makes, as pressed by code.
    void BtnClick(TNavigateBtn button);
    QToolButton* Button(TNavigateBtn button) const;
    bool ButtonEnabled(TNavigateBtn button) const;

private:
    void refresh();

    QPointer<TDataSource> source_;
    QMetaObject::Connection connections_[2];
    TNavigateButtons visible_ = TNavigateButtons(TNavigateBtn::nbFirst) | TNavigateBtn::nbPrior |
                                TNavigateBtn::nbNext | TNavigateBtn::nbLast;
    bool flat_ = false;
    QToolButton* buttons_[4];
};

} // namespace host
