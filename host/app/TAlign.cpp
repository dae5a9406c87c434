#include "host/app/TAlign.h"

#include "host/app/TControl.h"

#include <QWidget>

namespace host {

void AlignChildren(QWidget& container) {
    // Sides first, top and bottom before left and right, then the client-aligned ones take the rest,
    // whatever order the controls were created in; among one side, creation order.
    constexpr TAlign passes[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                                 TAlign::alClient};
    QRect rest = container.contentsRect();
    for (const TAlign pass : passes) {
        for (QObject* child : container.children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (!widget || widget->isWindow() || widget->isHidden())
                continue;
            const TControl* control = dynamic_cast<const TControl*>(widget);
            if (!control || control->Align() != pass)
                continue;
            const int height = widget->height();
            const int width = widget->width();
            switch (pass) {
            case TAlign::alNone:
                break;
            case TAlign::alTop:
                widget->setGeometry(rest.left(), rest.top(), rest.width(), height);
                rest.setTop(rest.top() + height);
                break;
            case TAlign::alBottom:
                widget->setGeometry(rest.left(), rest.bottom() - height + 1, rest.width(), height);
                rest.setBottom(rest.bottom() - height);
                break;
            case TAlign::alLeft:
                widget->setGeometry(rest.left(), rest.top(), width, rest.height());
                rest.setLeft(rest.left() + width);
                break;
            case TAlign::alRight:
                widget->setGeometry(rest.right() - width + 1, rest.top(), width, rest.height());
                rest.setRight(rest.right() - width);
                break;
            case TAlign::alClient:
                widget->setGeometry(rest);
                break;
            }
        }
    }
}

} // namespace host
