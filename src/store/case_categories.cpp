#include "store/case_categories.h"

#include <QCoreApplication>

namespace store {

std::optional<QString> CaseCategories::nameProblem(const QString& name, qint64 exceptId) const {
    if (name.trimmed().isEmpty()) return QCoreApplication::translate("store::CaseCategories", "请输入新类别名称");
    if (name.toUcs4().size() > kCategoryNameMaxLength)
        return QCoreApplication::translate("store::CaseCategories", "类别名称最多%1个字。").arg(kCategoryNameMaxLength);
    if (db_.getFirstInteger(QStringLiteral("select count(*) from fenlei_table where lei_mingcheng=? and lei_id<>?"),
                            {name, exceptId}) > 0)
        return QCoreApplication::translate("store::CaseCategories", "新类别名称不能和现已存在名称相同。");
    return std::nullopt;
}

std::optional<qint64> CaseCategories::idOf(const QString& name) const {
    QSqlQuery query = db_.select(
        QStringLiteral("select lei_id from fenlei_table where lei_mingcheng=? order by lei_id limit 1"), {name});
    if (!db_.nextRow(query)) return std::nullopt;
    return query.value(0).toLongLong();
}

qint64 CaseCategories::caseCount(qint64 categoryId) const {
    return db_.getFirstInteger(QStringLiteral("select count(*) from gua_table where lei_id=?"), {categoryId});
}

CategoryChange CaseCategories::add(const QString& name) {
    if (const auto problem = nameProblem(name)) return {false, 0, *problem};
    const qint64 id = std::max(kFirstLocalCategoryId,
                               db_.getFirstInteger(QStringLiteral("select max(lei_id) from fenlei_table")) + 1);
    db_.execute(QStringLiteral("insert into fenlei_table(lei_id,lei_mingcheng) values(?,?)"), {id, name});
    return {true, id, {}};
}

CategoryChange CaseCategories::remove(qint64 categoryId, CasesInside cases) {
    const QString name =
        db_.getFirstString(QStringLiteral("select lei_mingcheng from fenlei_table where lei_id=?"), {categoryId});
    if (db_.getFirstInteger(QStringLiteral("select count(*) from fenlei_table where lei_id=?"), {categoryId}) == 0)
        return {false, categoryId, QCoreApplication::translate("store::CaseCategories", "没有这个类别。")};
    if (name == kMiscCategoryName)
        return {false, categoryId,
                QCoreApplication::translate("store::CaseCategories", "“%1”不能删除。").arg(kMiscCategoryName)};
    Transaction transaction(db_);
    const qint64 count = caseCount(categoryId);
    if (count > 0) {
        if (cases == CasesInside::Refuse)
            return {false, categoryId,
                    QCoreApplication::translate("store::CaseCategories", "类别“%1”中还有%2个卦例，不能删除。")
                        .arg(name)
                        .arg(count)};
        const auto misc = idOf(kMiscCategoryName);
        if (!misc)
            return {false, categoryId,
                    QCoreApplication::translate("store::CaseCategories", "没有“%1”，无法移入卦例。")
                        .arg(kMiscCategoryName)};
        db_.execute(QStringLiteral("update gua_table set lei_id=? where lei_id=?"), {*misc, categoryId});
    }
    db_.execute(QStringLiteral("delete from fenlei_table where lei_id=?"), {categoryId});
    transaction.commit();
    return {true, categoryId, {}};
}

}  // namespace store
