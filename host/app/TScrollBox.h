#pragma once

#include "host/app/TControl.h"

#include <QScrollArea>

namespace host {

// A borderless box that scrolls its content when the content is larger than the box. Controls are
// placed on Content(); aligned ones follow the box's size, so a client-aligned child fills it and
// never needs the scroll bars.
class TScrollBox : public QScrollArea, public TControl {
    Q_OBJECT
public:
    TScrollBox(QWidget* parent, const QString& name);

    QWidget* Content() const { return content_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* content_;
};

} // namespace host
