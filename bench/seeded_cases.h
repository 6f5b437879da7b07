#pragma once
// A database file holding 100,000 generated cases, made once per benchmark run.
#include <QTemporaryDir>
#include <memory>

#include "store/database.h"

namespace bench {

constexpr int kCases = 100000;

// One file for the whole run, filled once.
struct SharedDatabase {
    QTemporaryDir dir;
    std::unique_ptr<store::Database> db;

    SharedDatabase() {
        db = store::Database::open(dir.filePath(QStringLiteral("qinglan.db")));
        const QString matters[] = {QStringLiteral("问财运"),   QStringLiteral("求职面试"), QStringLiteral("婚姻感情"),
                                   QStringLiteral("病情如何"), QStringLiteral("出行平安"), QStringLiteral("失物何在")};
        const QString judgment = QStringLiteral("世爻持财，月建生扶，日辰合住，应爻发动来生世，此事可成。").repeated(6);
        store::Transaction transaction(*db);
        for (int i = 0; i < kCases; ++i) {
            const int year = 2000 + i % 25, month = 1 + i % 12, day = 1 + i % 28;
            db->execute(QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,"
                                       "shiyou,duanyu,fankui,shijian) values(?,?,?,?,?,?,?,?,?,?,?,?)"),
                        {QStringLiteral("主卦：天风姤 变卦：乾为天"),
                         QStringLiteral("%1%2%3123412京房式T:16:25:00")
                             .arg(year)
                             .arg(month, 2, 10, QChar(u'0'))
                             .arg(day, 2, 10, QChar(u'0')),
                         1 + i % 13, year, month, day, QStringLiteral("未知"), QStringLiteral("1980"),
                         matters[i % 6] + QString::number(i), judgment, i % 3 ? QString() : QStringLiteral("后来应验"),
                         QStringLiteral("%1-%2-%3 %4:%5:%6.000")
                             .arg(year)
                             .arg(month, 2, 10, QChar(u'0'))
                             .arg(day, 2, 10, QChar(u'0'))
                             .arg(i % 24, 2, 10, QChar(u'0'))
                             .arg(i % 60, 2, 10, QChar(u'0'))
                             .arg(i % 59, 2, 10, QChar(u'0'))});
        }
        transaction.commit();
    }
};

inline SharedDatabase& shared() {
    static SharedDatabase instance;
    return instance;
}

}  // namespace bench
