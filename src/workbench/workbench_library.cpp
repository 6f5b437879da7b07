// Owning the local cases: deleting and moving cases, adding and deleting categories, backing
// up the database. The case service is never told: these are the local library's.
#include "store/case_categories.h"
#include "store/database_backup.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace workbench {

bool Workbench::deleteCase(qint64 id, const QString& itemText) {
    if (!prompter_.askYesNo(tr("确定删除卦例“%1”吗？删除后不能恢复（网络云存储中的副本不受影响）。").arg(itemText)))
        return false;
    const bool onView = chartIsStoredCase_ && caseStore_.record().caseId == id;
    bool deleted = false;
    if (!guarded([&] { deleted = caseStore_.deleteCase(id); })) return false;
    if (!deleted) {
        prompter_.message(tr("找不到要删除的卦例。"));
        return false;
    }
    // The chart stays on view, but its texts no longer have a case to go into.
    if (onView) chartIsStoredCase_ = false;
    emit casesChanged();
    return true;
}

bool Workbench::moveCase(qint64 id, qint64 categoryId) {
    std::optional<QString> problem;
    if (!guarded([&] { problem = caseStore_.moveCase(id, categoryId); })) return false;
    if (problem) {
        prompter_.message(*problem);
        return false;
    }
    emit casesChanged();
    return true;
}

bool Workbench::addCategory(const QString& name) {
    store::CategoryChange change;
    if (!guarded([&] { change = store::CaseCategories(db_).add(name.trimmed()); })) return false;
    if (!change.done) {
        prompter_.message(change.problem);
        return false;
    }
    emit casesChanged();
    return true;
}

bool Workbench::deleteCategory(qint64 categoryId, const QString& name) {
    qint64 cases = 0;
    if (!guarded([&] { cases = store::CaseCategories(db_).caseCount(categoryId); })) return false;
    const QString question = cases == 0 ? tr("确定删除分类“%1”吗？").arg(name)
                                        : tr("分类“%1”中有%2个卦例，删除分类后这些卦例将移到“%3”。确定删除吗？")
                                              .arg(name)
                                              .arg(cases)
                                              .arg(store::kMiscCategoryName);
    if (!prompter_.askYesNo(question)) return false;
    store::CategoryChange change;
    if (!guarded([&] {
            change = store::CaseCategories(db_).remove(categoryId, store::CaseCategories::CasesInside::MoveToMisc);
        }))
        return false;
    if (!change.done) {
        prompter_.message(change.problem);
        return false;
    }
    emit casesChanged();
    return true;
}

bool Workbench::backUpTo(const QString& path) {
    if (!guarded([&] { store::backupDatabase(db_, path); })) return false;
    prompter_.message(tr("卦例库和笔记已备份到：") + path);
    return true;
}

bool Workbench::restoreFrom(const QString& path) {
    if (!guarded([&] { store::checkBackupFile(path); })) return false;
    if (!prompter_.askYesNo(tr("确定用备份“%1”替换当前的卦例库和笔记吗？当前的会先自动备份。").arg(path))) return false;
    const cal::CalendarSource sourceBefore = options_.calendarSource;
    store::RestoreResult result;
    if (!guarded([&] { result = store::restoreOpenDatabase(db_, path, clock_.now()); })) return false;
    // The cases this run saw belong to the replaced library.
    history_.clear();
    caseStore_.forgetRecord();
    chartIsStoredCase_ = false;
    setTexts({}, {}, false);
    loadStoredOptions();
    emit casesChanged();
    if (options_.calendarSource != sourceBefore) {
        computePillars();
        emit calendarSourceChanged();
        if (!state_.isEmpty()) chartBuilt(chart::zhuanggua(state_, context()));
    }
    redraw(false);
    QString message = tr("卦例库和笔记已从备份恢复。");
    if (!result.automaticBackup.isEmpty())
        message += tr("\n原来的卦例库和笔记已自动备份为：%1").arg(result.automaticBackup);
    if (!result.keptAs.isEmpty()) message += tr("\n原来的卦例库另存为：%1").arg(result.keptAs);
    if (!result.notesKeptAs.isEmpty()) message += tr("\n原来的笔记文件夹另存为：%1").arg(result.notesKeptAs);
    prompter_.message(message);
    return true;
}

}  // namespace workbench
