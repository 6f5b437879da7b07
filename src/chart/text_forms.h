#pragma once
// Taking a chart out as text: the text copy and the one-line note in a monthly file.
#include <QDate>
#include <QString>
#include <QStringList>

#include "chart/chart_state.h"

namespace chart {

inline const QString kPublisherUrl = QStringLiteral("https://qinglan.example.org");

// The 13 lines of the text copy (7 header lines, then the six main lines, top first), kept
// exactly, trailing blanks and tabs included. Empty when there is no chart.
QStringList chartTextLines(const ChartState& state, const QString& entryText);
// The same 13 lines as rows of cells for a table: each header line one cell; the column heading
// and the line rows six cells (beast, hidden spirit, relative with branch, mark, symbol, changed
// line), empty where the text copy has blanks.
QList<QStringList> chartTextTable(const ChartState& state, const QString& entryText);
QString lineSymbol(int code);

// The note line: under 京房式 entry + remark + "T:" + cast time; under 藏山卜 entry +
// "[藏山卜] " + remark.
QString noteLine(const ChartState& state, const QString& entryText, const QString& remark);
// "yyyymm.txt" of today's date.
QString noteFileName(const QDate& today);
// Appends a line to the month's note file in saveDir (created when missing). A file that is
// not UTF-8 is taken as GB18030 and the line is appended in that encoding. False with the
// error text when the folder or the file cannot be written.
bool appendNote(const QString& saveDir, const QDate& today, const QString& line, QString* error);

inline const QString kNoteSaved = QStringLiteral("保存完成。");

}  // namespace chart
