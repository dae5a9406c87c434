#pragma once

#include "host/app/TControl.h"

#include <QTabWidget>

#include <functional>

namespace host {

class TPageTabBar;
class TTabSheet;

// Pages behind tabs. A change the user asks for (tab click, arrow keys, wheel, Ctrl+Tab) first
// raises OnChanging, which may refuse it by clearing the flag or by failing; only then the page
// changes and OnChange follows. A change made by code (SetActivePage) is the code's own decision and
// raises neither, only the new page's OnShow.
class TPageControl : public QTabWidget, public TControl {
    Q_OBJECT
public:
    TPageControl(QWidget* parent, const QString& name);

    TTabSheet* ActivePage() const;
    // Brings the sheet to front; a sheet of another control or without a shown tab is refused.
    void SetActivePage(TTabSheet* sheet);
    int GetPageCount() const { return count(); }
    TTabSheet* GetPage(int index) const;

    std::function<void(TPageControl& sender, bool& allowChange)> OnChanging;
    std::function<void(TPageControl& sender)> OnChange;

    // The user's way of changing the page, also what the tab row calls.
    void RequestPage(int index);
    // The next page the user can reach from the index (which may lie just outside the pages) in the
    // step's direction; -1 when there is none.
    int NextPageIndex(int from, int step, bool wrap) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TTabSheet;
    void adopt(TTabSheet& sheet);
    void sheetChanged(TTabSheet& sheet);
    void currentMoved(int index);

    TPageTabBar* bar_;
    bool quiet_ = false;
};

} // namespace host
