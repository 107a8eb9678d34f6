#pragma once

#include <QString>

#include <functional>

class SuiteListView;

// The column sizers of ModMain, which every list uses after it has been filled.
namespace ModMain {

// How wide a header text is, in twips, for a test that sets its own measure; unset, the
// application font measures it.
inline std::function<double(const QString &)> HeaderTextWidth;

// Fits every column to the wider of its cells and its header; the first column gets room for the
// row icons; no column ends narrower than its header text plus 600 twips.
void AutoSizeListColumns(SuiteListView *list);
// The same fitting, without the extra rules, for every column but the last.
void AutoSizeColumnsExceptLast(SuiteListView *list);

} // namespace ModMain
