#pragma once

#include "host/app/TControl.h"

#include <QLabel>

namespace host {

class TLabel : public QLabel, public TControl {
    Q_OBJECT
public:
    TLabel(QWidget* parent, const QString& name, const QString& caption = {});

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace host
