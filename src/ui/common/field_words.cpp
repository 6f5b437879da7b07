#include "ui/common/field_words.h"

#include <QCoreApplication>

namespace ui {
namespace {

// For lupdate: reading::questionTypes() and casting::sexItems().
[[maybe_unused]] constexpr const char* kQuestionTypes[][2] = {
    QT_TRANSLATE_NOOP3("ui::FieldWords", "自身", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "他人", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "父母", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "长辈", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "文书", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "房屋", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "车辆", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "消息", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "考试", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "兄弟", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "朋友", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "同事", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "子女", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "晚辈", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "医药", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "宠物", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "求财", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "失物", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "工作", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "功名", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "官司", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "疾病", "question"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "出行", "question"), QT_TRANSLATE_NOOP3("ui::FieldWords", "婚姻", "question"),
};
[[maybe_unused]] constexpr const char* kSexes[][2] = {
    QT_TRANSLATE_NOOP3("ui::FieldWords", "男", "sex"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "女", "sex"),
    QT_TRANSLATE_NOOP3("ui::FieldWords", "未知", "sex"),
};

QString shown(const QString& word, const char* list) {
    return QCoreApplication::translate("ui::FieldWords", word.toUtf8().constData(), list);
}

}  // namespace

QString shownQuestionType(const QString& type) { return shown(type, "question"); }

QString shownSex(const QString& sex) { return shown(sex, "sex"); }

}  // namespace ui
