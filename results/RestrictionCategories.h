#pragma once

#include "analysis/ServerInterface.h"
#include "host/data/TClientDataSet.h"
#include "host/net/NetConnection.h"

#include <QString>

#include <vector>

namespace results {

// Which days a summary method receives: the week span of cdsDataSemana or the month of depMes.
enum class Span { Week, Month };
// How the analysis run treats the category (A: both categories of one option box; B: one).
enum class Pattern { A, B };

struct RestrictionCategory {
    int runOrder; // 1..11, the order in which the analysis run processes the categories
    int number;   // the category's number in the screen's description of results
    const char* optionBox;
    bool* reloadFlag;
    const char* summarySet;
    const char* detailSet;
    const char* summaryMethod;
    const char* detailMethod;
    Span span;
    Pattern pattern;
    const char* resultPage;
    const char* entryHandler;
    const char* afterScrollHandler; // of the summary set
    const char* summaryGrid;
    const char* detailGrid;
};

// The eleven categories in run order.
const std::vector<RestrictionCategory>& restrictionCategories();
// nullptr when there is no such category.
const RestrictionCategory* categoryByNumber(int number);
const RestrictionCategory* categoryBySummarySet(const QString& summarySet);
const RestrictionCategory* categoryByResultPage(const QString& resultPage);

// The detail method's arguments, as the server-interface table gives them: each names the summary
// row's field it is read from, except the by-reference month, which is the module's dtMesCard.
const std::vector<analysis::ArgRule>& detailArgs(const RestrictionCategory& category);

// The detail call's arguments for the summary set's current row. A field the row lacks is refused by
// the set (host::Refusal).
std::vector<host::CallArg> detailCallArgs(const RestrictionCategory& category,
                                          const host::TClientDataSet& summary);

} // namespace results
