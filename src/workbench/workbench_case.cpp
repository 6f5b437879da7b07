// The case side of the current case: the judgment and feedback texts with their saving, the
// save prompt, opening cases, stepping through the history and the recent cases.
#include "casting/cast_handover.h"
#include "casting/line_values.h"
#include "cloud/cloud_case_service.h"
#include "workbench/case_items.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace workbench {
namespace {

struct SaveTexts {
    const char16_t* done;
    const char16_t* failed;
};
// In the order of store::TextsToSave.
const SaveTexts kSaveTexts[] = {
    {u"断语保存成功。", u"断语保存失败，如果网络错误，一般重新启动程序即可恢复。"},
    {u"反馈保存成功。", u"反馈保存失败，如果网络错误，一般重新启动程序即可恢复。"},
    {u"全部保存成功。", u"全部保存失败，如果网络错误，一般重新启动程序即可恢复。"},
};

const QString kNoChartToSave = QStringLiteral("当前没有排盘，断语和反馈无处保存。");
const QString kChartNotStored = QStringLiteral(
    "当前显示的卦不是已保存的卦例，断语和反馈不会存入别的卦例。是否把当前的卦作为新卦例保存，并存入断语和反馈？");

}  // namespace

void Workbench::editJudgment(const QString& text) {
    judgment_ = text;
    if (judgmentUnsaved_) return;
    judgmentUnsaved_ = true;
    emit unsavedChanged();
}

void Workbench::editFeedback(const QString& text) {
    feedback_ = text;
    if (feedbackUnsaved_) return;
    feedbackUnsaved_ = true;
    emit unsavedChanged();
}

void Workbench::setTexts(const QString& judgment, const QString& feedback, bool unsaved) {
    judgment_ = judgment;
    feedback_ = feedback;
    judgmentUnsaved_ = feedbackUnsaved_ = unsaved;
    emit caseTextsChanged();
    emit unsavedChanged();
}

store::CastCase Workbench::castCaseOfChart() const {
    casting::LineValues values{};
    std::array<int, 6> codes{};
    for (std::size_t i = 0; i < 6; ++i) {
        codes[i] = state_.main[i].code;
        values[5 - i] = state_.main[i].code;
    }
    store::CastCase c;
    c.hexagramName = casting::hexagramNamesLabel(values);
    c.caseNumber = casting::makeCaseString(state_.castDate, codes, state_.method, state_.castTime);
    c.category = QStringLiteral("杂类");
    c.castDate = state_.castDate;
    c.questionType = looseQuestionType_;
    const chart::StoredPlace stored = chart::storedPlace(state_.place);
    c.place = stored.place;
    c.timeRule = stored.rule;
    return c;
}

bool Workbench::storeChartOnView() {
    if (state_.isEmpty()) {
        prompter_.message(kNoChartToSave);
        return false;
    }
    if (!prompter_.askYesNo(kChartNotStored)) return false;
    return storeCast(castCaseOfChart());
}

bool Workbench::storeCast(const store::CastCase& cast) {
    store::CreateResult created;
    if (!guarded([&] { created = caseStore_.createCase(cast); })) return false;
    chartIsStoredCase_ = true;
    caseHeader_ = store::caseLineOfCast(caseStore_.record());
    emit chartChanged();
    if (!created.cloudMessage.isEmpty()) prompter_.message(created.cloudMessage);
    return true;
}

bool Workbench::saveTexts(store::TextsToSave which) {
    // Refused before anything is stored; the editors keep what was typed, still unsaved.
    if (const auto problem = store::CaseStore::textsProblem(which, {judgment_, feedback_})) {
        prompter_.message(*problem + QStringLiteral("。请删减后再保存，编辑框中的内容没有改动。"));
        return false;
    }
    // The texts belong to the chart on view: never into the case loaded before another chart.
    if (!chartIsStoredCase_ && !storeChartOnView()) return false;
    store::SaveResult result;
    if (!guarded([&] { result = caseStore_.saveCaseTexts(which, {judgment_, feedback_}); })) return false;
    if (!result.message.isEmpty()) prompter_.message(result.message);
    const SaveTexts& texts = kSaveTexts[int(which) - 1];
    if (!result.saved) {
        prompter_.message(QString::fromUtf16(texts.failed));
        return false;
    }
    prompter_.message(QString::fromUtf16(texts.done));
    if (store::savesJudgment(which)) judgmentUnsaved_ = false;
    if (store::savesFeedback(which)) feedbackUnsaved_ = false;
    emit unsavedChanged();
    return true;
}

bool Workbench::setQuestionType(const QString& type) {
    bool saved = true;
    if (chartIsStoredCase_)
        saved = guarded([&] { caseStore_.saveQuestionType(type); });
    else
        looseQuestionType_ = type;
    emit chartChanged();  // the reading follows the question
    return saved;
}

bool Workbench::confirmUnsaved() {
    if (!judgmentUnsaved_ && !feedbackUnsaved_) return true;
    switch (prompter_.askToSave()) {
    case Prompter::Answer::Cancel: return false;
    case Prompter::Answer::No: return true;
    case Prompter::Answer::Yes:
        // A save that fails stops what was under way: the texts stay, unsaved.
        if (judgmentUnsaved_ && !saveTexts(store::TextsToSave::Judgment)) return false;
        if (feedbackUnsaved_ && !saveTexts(store::TextsToSave::Feedback)) return false;
        return true;
    }
    return true;
}

void Workbench::resetForCast(chart::ArrangementMethod method) {
    setTexts({}, {}, false);
    castMethod_ = method;
    emit chartChanged();
}

bool Workbench::openLocalCase(qint64 id) {
    std::optional<store::CaseTexts> texts;
    if (!guarded([&] { texts = caseStore_.loadLocalCase(id); }) || !texts) return false;
    showLoadedCase(*texts);
    return true;
}

void Workbench::setCloudCases(cloud::CloudCaseService* cloud) {
    cloud_ = cloud;
    caseStore_.setCloud(cloud);
    emit cloudChanged();
}

bool Workbench::openCloudCase(qint64 id) {
    if (!cloud_) return false;
    const cloud::CloudLoad load = cloud_->loadCloudCase(id, caseStore_);
    if (!load.texts) {
        if (!load.message.isEmpty()) prompter_.message(load.message);
        return false;
    }
    showLoadedCase(*load.texts);
    return true;
}

void Workbench::showLoadedCase(const store::CaseTexts& texts) {
    setTexts(texts.judgment, texts.feedback, false);
    caseHeader_ = store::caseLineOfLoad(caseStore_.record());
    state_.place = chart::placeOfStored(caseStore_.record().place, caseStore_.record().timeRule);
    showCaseNumber(caseStore_.record().caseNumber, chart::CaseNumberOrigin::Stored);
    chartIsStoredCase_ = true;
}

void Workbench::openHistoryEntry(const QString& entry) {
    const auto target = store::CaseHistory::targetOf(entry);
    if (!target) {
        prompter_.message(QStringLiteral("无法获取id") + entry);
        return;
    }
    if (target->local)
        openLocalCase(target->id);
    else
        openCloudCase(target->id);
}

void Workbench::stepBack() {
    if (!confirmUnsaved()) return;
    const auto entry = history_.stepBack();
    if (!entry) {
        prompter_.message(QStringLiteral("已经到最前面。"));
        return;
    }
    openHistoryEntry(*entry);
}

void Workbench::stepForward() {
    if (!confirmUnsaved()) return;
    const auto entry = history_.stepForward();
    if (!entry) {
        prompter_.message(QStringLiteral("已经到最后面。"));
        return;
    }
    openHistoryEntry(*entry);
}

bool Workbench::recentCases(QList<store::CaseListRow>& rows) {
    if (!confirmUnsaved()) return false;
    if (!cloud_) return guarded([&] { rows = lists_.recentCases(50); });
    const cloud::CloudCaseRows recent = cloud_->recentCases();
    if (!recent.message.isEmpty()) {
        prompter_.message(recent.message);
        return false;
    }
    rows = recent.rows;
    return true;
}

bool Workbench::openRecentCase(const QString& itemText) {
    const QString id = caseItemId(itemText);
    bool numeric = false;
    const qint64 value = id.toLongLong(&numeric);
    if (id.isEmpty() || !numeric) {
        prompter_.message(QStringLiteral("无法获取id") + itemText);
        return false;
    }
    history_.append(cloud_ ? store::CaseHistory::cloudEntry(value) : store::CaseHistory::localEntry(value));
    if (cloud_)
        openCloudCase(value);
    else
        openLocalCase(value);
    return true;
}

}  // namespace workbench
