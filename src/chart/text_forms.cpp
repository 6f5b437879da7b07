#include "chart/text_forms.h"

#include <unistd.h>
#include <QDir>
#include <QFile>

#include "chart/cast_pillars.h"
#include "chart/note_encoding.h"

namespace chart {

QString lineSymbol(int code) {
    switch (code) {
    case 1: return QStringLiteral("一");
    case 2: return QStringLiteral("--");
    case 3: return QStringLiteral("o");
    case 4: return QStringLiteral("x");
    default: return QStringLiteral("E");
    }
}

namespace {

// The pieces of one line row of the text copy; the text line and the table row are made of them.
struct RowPieces {
    QString beast, hiddenSpirit, item, mark, symbol, changedLine;
};

RowPieces rowPieces(const ChartLine& line) {
    const QString mark = line.mark == u'世' || line.mark == u'应' ? QString(line.mark) : QString();
    return {line.beast, line.hiddenSpirit,     line.relative + line.branchElement,
            mark,       lineSymbol(line.code), line.changedLine};
}

// The six lines above the column heading.
QStringList headerLines(const ChartState& state, const QString& entryText) {
    return {QStringLiteral("卦例ID=") + entryText + u' ' + methodWord(state.method),
            state.pillarLabel,
            QStringLiteral("免费六爻排盘软件 ") + kPublisherUrl,
            state.voidText,
            state.title,
            state.mainDescription + QStringLiteral("       ") + state.changedDescription};
}

}  // namespace

QStringList chartTextLines(const ChartState& state, const QString& entryText) {
    if (state.main[0].code == 0) return {};
    QStringList lines = headerLines(state, entryText);
    lines << QStringLiteral("六兽\t伏神\t  六亲纳支  世应 爻像    变爻");
    for (const ChartLine& line : state.main) {
        const RowPieces p = rowPieces(line);
        const QString hidden = p.hiddenSpirit.isEmpty() ? QStringLiteral(" \t") : p.hiddenSpirit;
        const QString mark = p.mark.isEmpty() ? QStringLiteral(" ") : p.mark;
        lines << p.beast + u'\t' + hidden + QStringLiteral("  ") + p.item + QStringLiteral("  ") + mark + u'\t' +
                     p.symbol + u'\t' + p.changedLine;
    }
    return lines;
}

QList<QStringList> chartTextTable(const ChartState& state, const QString& entryText) {
    if (state.main[0].code == 0) return {};
    QList<QStringList> rows;
    for (const QString& line : headerLines(state, entryText)) rows << QStringList{line};
    rows << QStringList{QStringLiteral("六兽"), QStringLiteral("伏神"), QStringLiteral("六亲纳支"),
                        QStringLiteral("世应"), QStringLiteral("爻像"), QStringLiteral("变爻")};
    for (const ChartLine& line : state.main) {
        const RowPieces p = rowPieces(line);
        rows << QStringList{p.beast, p.hiddenSpirit, p.item, p.mark, p.symbol, p.changedLine};
    }
    return rows;
}

QString noteLine(const ChartState& state, const QString& entryText, const QString& remark) {
    if (state.method == ArrangementMethod::Zangshan) return entryText + QStringLiteral("[藏山卜] ") + remark;
    return entryText + remark + QStringLiteral("T:") + timeText(state.castTime);
}

QString noteFileName(const QDate& today) { return today.toString(QStringLiteral("yyyyMM")) + QStringLiteral(".txt"); }

bool appendNote(const QString& saveDir, const QDate& today, const QString& line, QString* error) {
    if (!QDir().mkpath(saveDir)) {
        if (error) *error = QStringLiteral("无法创建文件夹 ") + saveDir;
        return false;
    }
    QFile file(QDir(saveDir).filePath(noteFileName(today)));
    QByteArray existing;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            if (error) *error = file.fileName() + QStringLiteral("：") + file.errorString();
            return false;
        }
        existing = file.readAll();
        file.close();
    }
    // The line goes in the encoding the file already has.
    const std::optional<QByteArray> appended = noteAppendBytes(existing, line);
    if (!appended) {
        if (error) *error = file.fileName() + QStringLiteral("：文件的编码无法识别，未保存。");
        return false;
    }
    const QByteArray& bytes = *appended;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error) *error = file.fileName() + QStringLiteral("：") + file.errorString();
        return false;
    }
    // The line counts as saved only when it reached the disk whole; otherwise the file is cut
    // back to what it held before, so no partial line stays behind.
    const qint64 before = file.size();
    const bool written = file.write(bytes) == bytes.size() && ::fsync(file.handle()) == 0;
    if (!written) {
        if (error) *error = file.fileName() + QStringLiteral("：") + file.errorString() + QStringLiteral("，未保存。");
        file.resize(before);
        file.close();
        return false;
    }
    file.close();
    return true;
}

}  // namespace chart
