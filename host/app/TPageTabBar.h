#pragma once

#include <QTabBar>

#include <functional>

namespace host {

// The tab row of a page control. Qt's own row changes the page first and tells afterwards, which
// leaves no room for a refusal; this one turns every user gesture (mouse, arrow keys, wheel) into a
// request for a tab index and leaves the change to whoever answers it.
class TPageTabBar : public QTabBar {
    Q_OBJECT
public:
    TPageTabBar(QWidget* parent, std::function<void(int)> request);

    // The next tab the user can reach from `from` in direction `step` (+1 or -1), or -1; with `wrap`
    // the search goes round the ends.
    int NextReachable(int from, int step, bool wrap) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool reachable(int index) const;
    std::function<void(int)> request_;
};

} // namespace host
