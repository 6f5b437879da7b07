#pragma once
// The settings rows of table zhi: 85 (chart display options), 86 (chart style preselected in
// the casting dialog) and 88 (the remembered login).
#include "store/database.h"

#include <QString>

namespace store {

struct DisplaySettings {
    bool highlightClashes = false;  // "卦内冲合变色": value1 = "1"
    bool showAllChanged = false;    // "显示全部变爻": value3 = "1"
    bool showStems = true;          // "显示天干": value4 is not "0"
    bool showAnnotations = true;    // "显示标注": value15 = 0 (stored inverted)
};

// Chart style of row 86: 0 "随机", 1 "京房式", 2 "藏山卜".
enum class ChartStyle { Random = 0, Jingfang = 1, Zangshan = 2 };

struct LoginMemory {
    QString userName;  // value1
    QString password;  // value2, as typed
    bool remember = false;  // value4 = "1"
};

class SettingsRows {
public:
    explicit SettingsRows(Database& db) : db_(db) {}

    DisplaySettings displaySettings() const;
    void setHighlightClashes(bool on);
    void setShowAllChanged(bool on);
    void setShowStems(bool on);
    void setShowAnnotations(bool on);

    // The stored number of row 86 (any integer; the dialog keeps its default for unknown ones).
    qint64 chartStyle() const;
    void setChartStyle(ChartStyle style);

    LoginMemory loginMemory() const;
    // After a successful login with "记住用户名和密码" ticked.
    void rememberLogin(const QString& userName, const QString& password);
    // Whenever the box "记住用户名和密码" is clicked.
    void setRememberLogin(bool on);

private:
    Database& db_;
};

}  // namespace store
