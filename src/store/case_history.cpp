#include "store/case_history.h"

namespace store {

std::optional<HistoryTarget> CaseHistory::targetOf(const QString& entry) {
    bool ok = false;
    const qint64 id = entry.section(u'(', 0, 0).toLongLong(&ok);
    if (!ok) return std::nullopt;
    return HistoryTarget{id, entry.contains(QStringLiteral("本地"))};
}

void CaseHistory::append(const QString& entry) {
    entries_ << entry;
    ++historyPosition_;
}

void CaseHistory::appendIfMissing(const QString& entry) {
    if (!entries_.contains(entry)) append(entry);
}

void CaseHistory::remove(const QString& entry) {
    for (qsizetype i = entries_.size() - 1; i >= 0; --i) {
        if (entries_[i] != entry) continue;
        entries_.removeAt(i);
        if (i <= historyPosition_) --historyPosition_;
    }
}

std::optional<QString> CaseHistory::stepBack() {
    if (historyPosition_ <= 0) return std::nullopt;
    --historyPosition_;
    return entries_.value(historyPosition_);
}

std::optional<QString> CaseHistory::stepForward() {
    if (historyPosition_ >= entries_.size() - 1) return std::nullopt;
    ++historyPosition_;
    return entries_.value(historyPosition_);
}

}  // namespace store
