#pragma once
// The divination rows of tables bagua, zhi and fenlei_table, worked out from the rule tables
// (palace order, world/response lines, the branches of both arrangement methods, the relative
// rule, the beasts and the twelve stages). The program never computes these: it ships the text
// written by tools/gen_divination_rows in data/divination_rows.sql.
#include <string>

namespace tools {

// The whole rows file: one INSERT statement per line, each ending with ";".
std::string divinationRowsSql();

}  // namespace tools
