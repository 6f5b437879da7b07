// The case side of the current case: the judgment and feedback texts with their saving, the
// save prompt, opening cases, stepping through the history and the recent cases.
#include "casting/cast_handover.h"
#include "casting/line_values.h"
#include "cloud/cloud_case_service.h"
#include "workbench/case_items.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

#include <memory>

namespace workbench {
namespace {

struct SaveTexts {
    const char* done;
    const char* failed;
};
// In the order of store::TextsToSave.
const SaveTexts kSaveTexts[] = {
    {QT_TRANSLATE_NOOP("workbench::Workbench", "断语保存成功。"),
     QT_TRANSLATE_NOOP("workbench::Workbench", "断语保存失败，如果网络错误，一般重新启动程序即可恢复。")},
    {QT_TRANSLATE_NOOP("workbench::Workbench", "反馈保存成功。"),
     QT_TRANSLATE_NOOP("workbench::Workbench", "反馈保存失败，如果网络错误，一般重新启动程序即可恢复。")},
    {QT_TRANSLATE_NOOP("workbench::Workbench", "全部保存成功。"),
     QT_TRANSLATE_NOOP("workbench::Workbench", "全部保存失败，如果网络错误，一般重新启动程序即可恢复。")},
};

// Runs an operation that reports through its callback, at once or once the case service has
// answered; true when it succeeded before returning. A later success runs later.
bool succeededNow(const std::function<void(std::function<void(bool)>)>& operation, std::function<void()> later = {}) {
    struct Report {
        bool returned = false;
        bool succeeded = false;
    };
    const auto report = std::make_shared<Report>();
    operation([report, later = std::move(later)](bool succeeded) {
        if (!report->returned)
            report->succeeded = succeeded;
        else if (succeeded && later)
            later();
    });
    report->returned = true;
    return report->succeeded;
}

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

void Workbench::editOutcome(const store::CaseOutcome& outcome) {
    outcome_ = outcome;
    if (feedbackUnsaved_) return;
    feedbackUnsaved_ = true;
    emit unsavedChanged();
}

void Workbench::chooseTiming(const QDate& date) {
    chosenTiming_ = date;
    emit timingChosen(date);
}

bool Workbench::setCaseOutcome(qint64 id, const store::CaseOutcome& outcome) {
    bool found = false;
    if (!guarded([&] { found = store::saveOutcome(db_, id, outcome); })) return false;
    if (!found) {
        prompter_.message(tr("没有这个卦例。"));
        return false;
    }
    if (chartIsStoredCase_ && caseStore_.record().saveKey == id && !feedbackUnsaved_) {
        outcome_ = outcome;
        emit caseTextsChanged();
    }
    return true;
}

std::optional<store::CaseOutcome> Workbench::caseOutcome(qint64 id) {
    std::optional<store::CaseOutcome> outcome;
    guarded([&] { outcome = store::outcomeOf(db_, id); });
    return outcome;
}

void Workbench::setTexts(const QString& judgment, const QString& feedback, bool unsaved,
                         const store::CaseOutcome& outcome) {
    judgment_ = judgment;
    feedback_ = feedback;
    outcome_ = outcome;
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

bool Workbench::storeCast(const store::CastCase& cast, std::function<void(bool)> next) {
    store::CreateResult created;
    if (!guarded([&] { created = caseStore_.createCase(cast); })) {
        if (next) next(false);
        return false;
    }
    chartIsStoredCase_ = true;
    caseHeader_ = store::caseLineOfCast(caseStore_.record());
    emit chartChanged();
    uploadNewCase(created.stored, std::move(next));
    return true;
}

void Workbench::uploadNewCase(bool stored, std::function<void(bool)> next) {
    if (!cloud_ || !stored) {
        if (next) next(true);
        return;
    }
    cloud_->saveNewCase(caseStore_.record(), [this, next](const cloud::CloudSave& sent) {
        if (!sent.saved && !sent.cancelled) prompter_.message(sent.message);
        if (next) next(!sent.cancelled);
    });
}

bool Workbench::saveTexts(store::TextsToSave which) {
    return succeededNow([this, which](std::function<void(bool)> done) { saveTextsThen(which, std::move(done)); });
}

void Workbench::saveTextsThen(store::TextsToSave which, std::function<void(bool)> done) {
    // Refused before anything is stored; the editors keep what was typed, still unsaved.
    if (const auto problem = store::CaseStore::textsProblem(which, {judgment_, feedback_})) {
        prompter_.message(*problem + tr("。请删减后再保存，编辑框中的内容没有改动。"));
        return done(false);
    }
    if (chartIsStoredCase_) return saveStoredTexts(which, std::move(done));
    // The texts belong to the chart on view: never into the case loaded before another chart.
    if (state_.isEmpty()) {
        prompter_.message(tr("当前没有排盘，断语和反馈无处保存。"));
        return done(false);
    }
    if (!prompter_.askYesNo(tr("当前显示的卦不是已保存的卦例，断语和反馈不会存入别的卦例。"
                               "是否把当前的卦作为新卦例保存，并存入断语和反馈？")))
        return done(false);
    storeCast(castCaseOfChart(), [this, which, done](bool goOn) {
        if (goOn)
            saveStoredTexts(which, done);
        else
            done(false);
    });
}

void Workbench::saveStoredTexts(store::TextsToSave which, std::function<void(bool)> done) {
    const store::CaseTexts texts{judgment_, feedback_, outcome_};
    store::SaveResult result;
    if (!guarded([&] { result = caseStore_.saveCaseTexts(which, texts); })) return done(false);
    if (!cloud_ || !result.saved) return textsSaved(which, result, done);
    // Stored here already; the save counts as done once the service has taken it too.
    cloud_->saveTexts(caseStore_.record(), texts, which, [this, which, done](const cloud::CloudSave& sent) {
        if (sent.cancelled) return done(false);
        textsSaved(which, {sent.saved, sent.message}, done);
    });
}

void Workbench::textsSaved(store::TextsToSave which, const store::SaveResult& result,
                           const std::function<void(bool)>& done) {
    if (!result.message.isEmpty()) prompter_.message(result.message);
    const SaveTexts& texts = kSaveTexts[int(which) - 1];
    if (!result.saved) {
        prompter_.message(tr(texts.failed));
        return done(false);
    }
    prompter_.message(tr(texts.done));
    if (store::savesJudgment(which)) judgmentUnsaved_ = false;
    if (store::savesFeedback(which)) feedbackUnsaved_ = false;
    emit unsavedChanged();
    done(true);
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

bool Workbench::confirmUnsaved(std::function<void()> retry) {
    if (!judgmentUnsaved_ && !feedbackUnsaved_) return true;
    switch (prompter_.askToSave()) {
    case Prompter::Answer::Cancel: return false;
    case Prompter::Answer::No: return true;
    case Prompter::Answer::Yes: break;
    }
    // A save that fails stops what was under way: the texts stay, unsaved.
    return succeededNow([this](std::function<void(bool)> done) { saveUnsaved(std::move(done)); }, std::move(retry));
}

void Workbench::saveUnsaved(std::function<void(bool)> done) {
    if (!judgmentUnsaved_ && !feedbackUnsaved_) return done(true);
    saveTextsThen(judgmentUnsaved_ ? store::TextsToSave::Judgment : store::TextsToSave::Feedback,
                  [this, done](bool saved) {
                      if (saved)
                          saveUnsaved(done);
                      else
                          done(false);
                  });
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
    emit cloudChanged();
}

void Workbench::openCloudCase(qint64 id) {
    if (!cloud_) return;
    cloud_->loadCloudCase(id, caseStore_, [this](const cloud::CloudLoad& load) {
        if (!load.texts) {
            if (!load.message.isEmpty()) prompter_.message(load.message);
            return;
        }
        store::CaseTexts texts = *load.texts;
        guarded([&] { texts.outcome = caseStore_.outcomeOfCloudRecord(); });  // the case service keeps none
        showLoadedCase(texts);
    });
}

void Workbench::showLoadedCase(const store::CaseTexts& texts) {
    setTexts(texts.judgment, texts.feedback, false, texts.outcome);
    caseHeader_ = store::caseLineOfLoad(caseStore_.record());
    state_.place = chart::placeOfStored(caseStore_.record().place, caseStore_.record().timeRule);
    showCaseNumber(caseStore_.record().caseNumber, chart::CaseNumberOrigin::Stored);
    chartIsStoredCase_ = true;
}

void Workbench::openHistoryEntry(const QString& entry) {
    const auto target = store::CaseHistory::targetOf(entry);
    if (!target) {
        prompter_.message(tr("无法获取id") + entry);
        return;
    }
    if (target->local)
        openLocalCase(target->id);
    else
        openCloudCase(target->id);
}

void Workbench::stepBack() {
    if (!confirmUnsaved([this] { stepBack(); })) return;
    const auto entry = history_.stepBack();
    if (!entry) {
        prompter_.message(tr("已经到最前面。"));
        return;
    }
    openHistoryEntry(*entry);
}

void Workbench::stepForward() {
    if (!confirmUnsaved([this] { stepForward(); })) return;
    const auto entry = history_.stepForward();
    if (!entry) {
        prompter_.message(tr("已经到最后面。"));
        return;
    }
    openHistoryEntry(*entry);
}

void Workbench::recentCases(const std::function<void(const QList<store::CaseListRow>&)>& show) {
    if (!confirmUnsaved([this, show] { recentCases(show); })) return;
    if (!cloud_) {
        QList<store::CaseListRow> rows;
        if (guarded([&] { rows = lists_.recentCases(50); })) show(rows);
        return;
    }
    cloud_->recentCases([this, show](const cloud::CloudCaseRows& recent) {
        if (recent.cancelled) return;
        if (!recent.message.isEmpty())
            prompter_.message(recent.message);
        else
            show(recent.rows);
    });
}

bool Workbench::openRecentCase(const QString& itemText) {
    const QString id = caseItemId(itemText);
    bool numeric = false;
    const qint64 value = id.toLongLong(&numeric);
    if (id.isEmpty() || !numeric) {
        prompter_.message(tr("无法获取id") + itemText);
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
