#pragma once

#include "host/app/TControl.h"

#include <QGroupBox>

namespace host {

// A framed container with a title; its aligned children share the inside of the frame.
class TGroupBox : public QGroupBox, public TControl {
    Q_OBJECT
public:
    TGroupBox(QWidget* parent, const QString& name, const QString& caption = {});

    QString Caption() const { return title(); }
    void SetCaption(const QString& caption) { setTitle(caption); }

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace host
