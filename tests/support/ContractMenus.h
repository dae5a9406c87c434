#pragma once

#include <set>
#include <string>

// Rows for screen tests over a database of their own. Branches 0001 and 0002 (processing date
// 2026-03-10), both open to the operator TESTE. Codes are six lower-case characters, so that each
// kind of code mask lays them out differently: the dishes "abc123" (" Arroz ", blanks around it) and
// "def456" ("Pudim"), the products "x1y2z3" ("Azeite", tree code "pq9876") and "uv5432" ("Sal",
// tree code "rs1111"), the nutrients N1 "Cálcio" and N2 "Sódio". March 2026 begins on a Sunday: its
// week span runs from Monday 2026-02-23 to Sunday 2026-04-05.
std::string contractCatalogueSql();

// A service of branch 0001 whose March 2026 menu (abc123 on Monday 2 and Tuesday 3, def456 as the
// option of both days, 2 of x1y2z3 in Monday's abc123, 10 of N1 on Monday) infringes exactly the
// categories given, by their place in the calculation mode's order: 1 weekly dish frequency,
// 2 monthly dish frequency, 3 weekly option frequency, 4 monthly option frequency, 5 dish
// restriction, 6 option restriction, 7 weekly dish use, 8 nutrient limit, 9 per-capita per dish,
// 10 per-capita per service, 11 product restriction.
std::string infringingServiceSql(const std::string& service, const std::string& name,
                                 const std::set<int>& positions);

// A service of branch 0001 whose three limit categories each have two summary rows in March 2026:
// the first with the range 1 to 5 over the values 0.5 (Monday 2), 3 (Tuesday 3) and 6 (Wednesday 4),
// the second with no minimum and a maximum of 5 over 3 (Thursday 5) and 6 (Friday 6). With the
// bounds in their places the details are the 2nd and the 4th, then the 6th; swapped, they are the
// 2nd, 3rd and 4th, then the 5th. Product x1y2z3 and nutrient N1 carry the first rows, uv5432 and N2
// the second; every item is abc123.
std::string limitServiceSql(const std::string& service);
