#pragma once

#include "host/app/TControl.h"

#include <QFrame>

namespace host {

// A raised container; its aligned children follow its size.
class TPanel : public QFrame, public TControl {
    Q_OBJECT
public:
    TPanel(QWidget* parent, const QString& name);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

} // namespace host
