#include "host/app/TScrollBox.h"

#include "host/app/TAlign.h"

#include <QResizeEvent>

namespace host {

namespace {

// The content aligns its own children whenever the scroll area resizes it.
class AligningContent : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        AlignChildren(*this);
    }
};

} // namespace

TScrollBox::TScrollBox(QWidget* parent, const QString& name)
    : QScrollArea(parent), TControl(static_cast<QWidget&>(*this)), content_(new AligningContent) {
    SetName(name);
    setFrameStyle(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(content_);
}

void TScrollBox::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    AlignChildren(*content_);
}

} // namespace host
