// Creating, saving and loading cases over a real database file.
#include "store/case_store.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <functional>

namespace {

using store::CaseHistory;
using store::CaseStore;
using store::CaseTexts;
using store::CastCase;
using store::TextsToSave;

CastCase sampleCast(const QString& number = QStringLiteral("20240204123412京房式T:16:25:00")) {
    CastCase cast;
    cast.hexagramName = QStringLiteral("主卦：天风姤 变卦：乾为天");
    cast.caseNumber = number;
    cast.category = QStringLiteral("求财");
    cast.gender = QStringLiteral("男");
    cast.birthYear = QStringLiteral("1980");
    cast.subject = QStringLiteral("问财运");
    cast.castDate = QDate(2024, 2, 4);
    return cast;
}

class CaseStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<store::Database> db = store::Database::open(dir.filePath(QStringLiteral("qinglan.db")));
    CaseHistory history;
    CaseStore cases{*db, history};

    qint64 count(const QString& key) {
        return db->getFirstInteger(QStringLiteral("select count(*) from gua_table where gua_bianhao=?"), {key});
    }
    QString column(const char* name, qint64 id) {
        return db->getFirstString(QStringLiteral("select %1 from gua_table where id=?").arg(QLatin1String(name)), {id});
    }
};

TEST_F(CaseStoreTest, CreateStoresTheRowAndEntersTheHistory) {
    const store::CreateResult result = cases.createCase(sampleCast());
    EXPECT_TRUE(result.stored);
    EXPECT_TRUE(result.cloudMessage.isEmpty());
    const store::CaseRecord& r = cases.record();
    EXPECT_GT(r.caseId, 0);
    EXPECT_EQ(r.saveKey, r.caseId);
    EXPECT_EQ(r.caseNumber, QStringLiteral("20240204123412京房式T:16:25:00"));
    EXPECT_EQ(r.categoryId, "2");
    EXPECT_EQ(r.year + "-" + r.month + "-" + r.day, "2024-2-4");
    EXPECT_EQ(store::caseLineOfCast(r), QStringLiteral("性别:男 出生:1980 占事:问财运"));
    EXPECT_EQ(store::caseLineOfLoad(r), QStringLiteral("性别:男 出生:1980 占事问财运"));

    struct Expect {
        const char* column;
        QString value;
    };
    for (const Expect& e :
         {Expect{"gua_ming", QStringLiteral("主卦：天风姤 变卦：乾为天")}, Expect{"gua_bianhao", r.caseNumber},
          Expect{"lei_id", "2"}, Expect{"nian", "2024"}, Expect{"yue", "2"}, Expect{"ri", "4"},
          Expect{"xingbie", QStringLiteral("男")}, Expect{"chusheng", "1980"},
          Expect{"shiyou", QStringLiteral("问财运")}, Expect{"duanyu", ""}, Expect{"fankui", ""}})
        EXPECT_EQ(column(e.column, r.caseId), e.value) << e.column;
    // Insert time, local, to the millisecond: yyyy-MM-dd hh:mm:ss.zzz
    EXPECT_TRUE(QDateTime::fromString(column("shijian", r.caseId), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).isValid())
        << column("shijian", r.caseId).toStdString();
    EXPECT_EQ(history.entries(), QStringList{CaseHistory::localEntry(r.caseId)});
    EXPECT_EQ(history.historyPosition(), 0);
}

TEST_F(CaseStoreTest, UnknownCategoryStillStoresTheCaseAndItsTexts) {
    CastCase cast = sampleCast();
    cast.category = QStringLiteral("不存在的类");
    ASSERT_TRUE(cases.createCase(cast).stored);
    const qint64 id = cases.record().caseId;
    EXPECT_TRUE(cases.record().categoryId.isEmpty());
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from gua_table where id=? and lei_id is null"), {id}),
              1);
    EXPECT_TRUE(cases.saveCaseTexts(TextsToSave::Judgment, {QStringLiteral("断"), {}}).saved);
    EXPECT_EQ(count(cases.record().caseNumber), 1);
    EXPECT_EQ(column("duanyu", id), QStringLiteral("断"));
}

TEST_F(CaseStoreTest, ChartOnlyStoresNothingUntilTheTextsAreSaved) {
    CastCase cast = sampleCast();
    cast.chartOnly = true;
    cast.category = QStringLiteral("无此类");  // the later insert must cope with the empty lei_id
    EXPECT_FALSE(cases.createCase(cast).stored);
    EXPECT_EQ(cases.record().saveKey, 0);
    EXPECT_EQ(cases.record().caseNumber, cast.caseNumber);
    EXPECT_EQ(count(cast.caseNumber), 0);
    EXPECT_TRUE(history.entries().isEmpty());

    EXPECT_TRUE(cases.saveCaseTexts(TextsToSave::Feedback, {QStringLiteral("不该写入"), QStringLiteral("应验")}).saved);
    EXPECT_EQ(count(cast.caseNumber), 1);
    EXPECT_TRUE(cases.saveCaseTexts(TextsToSave::Both, {QStringLiteral("断语"), QStringLiteral("反馈")}).saved);
    EXPECT_EQ(count(cast.caseNumber), 1);  // the second save only updates
    const qint64 id =
        db->getFirstInteger(QStringLiteral("select id from gua_table where gua_bianhao=?"), {cast.caseNumber});
    EXPECT_EQ(column("duanyu", id), QStringLiteral("断语"));
    EXPECT_EQ(column("fankui", id), QStringLiteral("反馈"));
    EXPECT_EQ(column("nian", id), "2024");
}

TEST_F(CaseStoreTest, EachSaveWritesOnlyItsOwnText) {
    cases.createCase(sampleCast());
    const qint64 id = cases.record().caseId;
    struct Step {
        TextsToSave which;
        const char* judgment;
        const char* feedback;
        const char* expectJudgment;
        const char* expectFeedback;
    };
    const Step steps[] = {
        {TextsToSave::Judgment, "甲", "乙", "甲", ""},
        {TextsToSave::Feedback, "丙", "丁", "甲", "丁"},
        {TextsToSave::Both, "戊", "己", "戊", "己"},
    };
    for (const Step& s : steps) {
        EXPECT_TRUE(cases.saveCaseTexts(s.which, {QString::fromUtf8(s.judgment), QString::fromUtf8(s.feedback)}).saved);
        EXPECT_EQ(column("duanyu", id), QString::fromUtf8(s.expectJudgment)) << int(s.which);
        EXPECT_EQ(column("fankui", id), QString::fromUtf8(s.expectFeedback)) << int(s.which);
    }
}

TEST_F(CaseStoreTest, AwkwardTextsComeBackUnchanged) {
    QString longText;
    while (longText.size() < 10000) longText += QStringLiteral("断'语\"%_\\;\r\n\t第一行 -- ");
    longText.truncate(10000);
    CastCase cast = sampleCast(QStringLiteral("20240204123412藏山卜T:00:00:00'"));
    cast.hexagramName = QStringLiteral("主卦：'天风姤' 变卦：乾为天");
    cast.birthYear = QStringLiteral("19'80%");
    cast.subject = QStringLiteral("问'财\n%运\"; drop table gua_table; --");
    cases.createCase(cast);
    const qint64 id = cases.record().caseId;
    const CaseTexts saved{longText, QStringLiteral("反馈\n'第二行'\n100%")};
    ASSERT_TRUE(cases.saveCaseTexts(TextsToSave::Both, saved).saved);

    CaseHistory otherHistory;
    CaseStore reader(*db, otherHistory);
    const std::optional<CaseTexts> loaded = reader.loadLocalCase(id);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->judgment, saved.judgment);
    EXPECT_EQ(loaded->feedback, saved.feedback);
    EXPECT_EQ(reader.record().hexagramName, cast.hexagramName);
    EXPECT_EQ(reader.record().birthYear, cast.birthYear);
    EXPECT_EQ(reader.record().subject, cast.subject);
    EXPECT_EQ(reader.record().saveKey, id);
    EXPECT_EQ(reader.record().caseNumber, cast.caseNumber);
    EXPECT_EQ(reader.record().categoryId, "2");
}

TEST_F(CaseStoreTest, EmptySaveKeyWritesNothing) {
    const store::SaveResult result = cases.saveCaseTexts(TextsToSave::Both, {QStringLiteral("x"), QStringLiteral("y")});
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message, QStringLiteral("卦的唯一编号为空，无法保存。"));
    EXPECT_EQ(db->getFirstInteger(QStringLiteral("select count(*) from gua_table")), 0);
}

TEST_F(CaseStoreTest, AFailedStatementLeavesNoHalfWrittenCase) {
    CastCase cast = sampleCast();
    cast.chartOnly = true;
    cases.createCase(cast);
    db->execute(
        QStringLiteral("create trigger refuse_feedback after insert on gua_table when new.fankui <> '' "
                       "begin select raise(abort, 'feedback refused'); end"));
    try {
        cases.saveCaseTexts(TextsToSave::Both, {QStringLiteral("断"), QStringLiteral("馈")});
        ADD_FAILURE() << "no error";
    } catch (const store::DatabaseError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("feedback refused"))) << e.text().toStdString();
    }
    EXPECT_EQ(count(cast.caseNumber), 0);  // neither the insert nor the judgment stayed
}

TEST_F(CaseStoreTest, LoadFillsTheRecordAndEntersTheHistoryOnce) {
    cases.createCase(sampleCast(QStringLiteral("A")));
    const qint64 a = cases.record().caseId;
    cases.saveCaseTexts(TextsToSave::Both, {QStringLiteral("断A"), QStringLiteral("馈A")});
    cases.createCase(sampleCast(QStringLiteral("B")));

    CaseHistory fresh;
    CaseStore reader(*db, fresh);
    for (int i = 0; i < 2; ++i) {
        const auto texts = reader.loadLocalCase(a);
        ASSERT_TRUE(texts.has_value());
        EXPECT_EQ(texts->judgment, QStringLiteral("断A"));
    }
    EXPECT_EQ(reader.record().saveKey, a);
    EXPECT_EQ(reader.record().caseId, a);
    EXPECT_EQ(fresh.entries(), QStringList{CaseHistory::localEntry(a)});
    EXPECT_EQ(fresh.historyPosition(), 0);

    EXPECT_FALSE(reader.loadLocalCase(9999).has_value());
    EXPECT_EQ(reader.record().saveKey, a);  // a missing row changes nothing but caseId
    EXPECT_EQ(fresh.entries().size(), 1);
}

// Several cases may share a case number (an import adds one when its texts differ): a save
// goes into the one case opened, created or adopted, never into the others with its number.
TEST_F(CaseStoreTest, ASaveTouchesOnlyItsOwnCaseAmongThoseSharingItsNumber) {
    const QString number = QStringLiteral("20000107113113京房式T:11:31:13");
    const QStringList subjects{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")};
    struct Way {
        const char* name;
        // Makes `cases` hold the case the texts go into (given the ids sharing the number); returns
        // its id, or 0 when the save is to add a row of its own.
        std::function<qint64(CaseStore&, const QList<qint64>&)> open;
    };
    const Way ways[] = {
        {"loaded", [](CaseStore& c, const QList<qint64>& ids) { return c.loadLocalCase(ids[1]) ? ids[1] : -1; }},
        {"loaded last",
         [](CaseStore& c, const QList<qint64>& ids) { return c.loadLocalCase(ids.last()) ? ids.last() : -1; }},
        {"new case",
         [&](CaseStore& c, const QList<qint64>&) {
             c.createCase(sampleCast(number));
             return c.record().caseId;
         }},
        {"chart only",
         [&](CaseStore& c, const QList<qint64>&) {
             CastCase cast = sampleCast(number);
             cast.chartOnly = true;
             c.createCase(cast);
             return qint64(0);
         }},
        {"cloud copy of the second",
         [&](CaseStore& c, const QList<qint64>& ids) {
             store::CaseRecord fields;
             fields.caseNumber = number;
             fields.hexagramName = QStringLiteral("主卦：天风姤 变卦：乾为天");
             fields.year = "2024";
             fields.month = "2";
             fields.day = "4";
             fields.gender = QStringLiteral("男");
             fields.birthYear = QStringLiteral("1980");
             fields.subject = QStringLiteral("乙");
             c.adoptCloudCase(77, fields);
             return ids[1];
         }},
        {"cloud case without a local copy",
         [&](CaseStore& c, const QList<qint64>&) {
             store::CaseRecord fields;
             fields.caseNumber = number;
             fields.subject = QStringLiteral("丁");
             c.adoptCloudCase(78, fields);
             return qint64(0);
         }},
    };
    for (const int sharing : {2, 3})
        for (const Way& way : ways)
            for (const TextsToSave which : {TextsToSave::Judgment, TextsToSave::Feedback, TextsToSave::Both}) {
                SCOPED_TRACE(testing::Message() << sharing << " sharing, " << way.name << ", which " << int(which));
                db->execute(QStringLiteral("delete from gua_table"));
                QList<qint64> ids;
                for (int i = 0; i < sharing; ++i) {
                    CastCase cast = sampleCast(number);
                    cast.subject = subjects[i];
                    cases.createCase(cast);
                    ids << cases.record().caseId;
                    cases.saveCaseTexts(TextsToSave::Both, {subjects[i] + u'断', subjects[i] + u'馈'});
                }
                CaseHistory otherHistory;
                CaseStore opener(*db, otherHistory);
                qint64 target = way.open(opener, ids);
                for (int round = 0; round < 2; ++round)  // a second save goes where the first went
                    ASSERT_TRUE(opener.saveCaseTexts(which, {QStringLiteral("新断"), QStringLiteral("新馈")}).saved);
                const qint64 rows = db->getFirstInteger(QStringLiteral("select count(*) from gua_table"));
                if (target == 0) {
                    EXPECT_EQ(rows, sharing + 1);
                    target = db->getFirstInteger(QStringLiteral("select max(id) from gua_table"));
                } else {
                    EXPECT_EQ(rows, ids.contains(target) ? sharing : sharing + 1);
                }
                EXPECT_EQ(opener.record().saveKey, target);
                for (int i = 0; i < sharing; ++i) {
                    if (ids[i] == target) continue;
                    EXPECT_EQ(column("duanyu", ids[i]), subjects[i] + u'断') << i;
                    EXPECT_EQ(column("fankui", ids[i]), subjects[i] + u'馈') << i;
                }
                const int own = int(ids.indexOf(target));
                const QString oldJudgment = own >= 0 ? subjects[own] + u'断' : QString();
                const QString oldFeedback = own >= 0 ? subjects[own] + u'馈' : QString();
                EXPECT_EQ(column("duanyu", target),
                          which != TextsToSave::Feedback ? QStringLiteral("新断") : oldJudgment);
                EXPECT_EQ(column("fankui", target),
                          which != TextsToSave::Judgment ? QStringLiteral("新馈") : oldFeedback);
            }
}

// A text is at most 256 KiB of UTF-8: one byte more saves nothing, and says which text.
TEST_F(CaseStoreTest, ATextOverTheLengthLimitSavesNothing) {
    const qsizetype limit = 256 * 1024;
    struct Case {
        const char* what;
        QString text;
        bool fits;
    };
    const Case texts[] = {
        {"ASCII at the limit", QString(limit, u'a'), true},
        {"ASCII one over", QString(limit + 1, u'a'), false},
        {"ends in a 2-byte letter", QString(limit - 2, u'a') + QStringLiteral("é"), true},
        {"ends in a 4-byte emoji", QString(limit - 4, u'a') + QStringLiteral("😀"), true},
        {"emoji one over", QString(limit - 3, u'a') + QStringLiteral("😀"), false},
        {"3-byte characters over", QStringLiteral("断").repeated(limit / 3 + 1), false},
    };
    cases.createCase(sampleCast());
    const qint64 id = cases.record().caseId;
    for (const Case& c : texts)
        for (const TextsToSave which : {TextsToSave::Judgment, TextsToSave::Feedback}) {
            SCOPED_TRACE(testing::Message() << c.what << ", which " << int(which));
            db->execute(QStringLiteral("update gua_table set duanyu='旧', fankui='旧' where id=?"), {id});
            const store::SaveResult result = cases.saveCaseTexts(which, {c.text, c.text});
            EXPECT_EQ(result.saved, c.fits);
            EXPECT_EQ(column(which == TextsToSave::Judgment ? "duanyu" : "fankui", id) == c.text, c.fits);
            if (!c.fits) {
                EXPECT_TRUE(result.message.startsWith(which == TextsToSave::Judgment ? QStringLiteral("断语太长")
                                                                                     : QStringLiteral("反馈太长")))
                    << result.message.toStdString();
                EXPECT_TRUE(result.message.contains(QStringLiteral("262144"))) << result.message.toStdString();
            }
        }
    // Only the text being saved counts: a long judgment does not stop saving the feedback.
    EXPECT_TRUE(cases.saveCaseTexts(TextsToSave::Feedback, {QString(limit + 1, u'a'), QStringLiteral("馈")}).saved);
}

// The case service's side, as the cloud client will answer: the replies are scripted.
class ScriptedCloud : public store::CloudCases {
public:
    QString newCaseReply = QStringLiteral("ok");
    QString textsReply = QStringLiteral("ok");
    int newCases = 0, textSaves = 0;
    QString saveNewCase(const store::CaseRecord&) override {
        ++newCases;
        return newCaseReply;
    }
    QString saveTexts(const store::CaseRecord&, const CaseTexts&, TextsToSave) override {
        ++textSaves;
        return textsReply;
    }
};

TEST_F(CaseStoreTest, CloudRepliesDecideTheResultButNeverStopTheLocalWrite) {
    ScriptedCloud cloud;
    cases.setCloud(&cloud);
    cloud.newCaseReply = QStringLiteral("neterror");
    const store::CreateResult created = cases.createCase(sampleCast());
    EXPECT_TRUE(created.stored);
    EXPECT_EQ(created.cloudMessage, QStringLiteral("网络保存失败，请重试，错误信息：neterror"));
    EXPECT_EQ(count(cases.record().caseNumber), 1);

    struct Case {
        const char* reply;
        bool saved;
    };
    for (const Case& c : {Case{"error", false}, Case{"xxokxx", true}, Case{"ok", true}}) {
        cloud.textsReply = QString::fromLatin1(c.reply);
        const store::SaveResult result = cases.saveCaseTexts(TextsToSave::Judgment, {QString::fromLatin1(c.reply), {}});
        EXPECT_EQ(result.saved, c.saved) << c.reply;
        if (!c.saved) {
            EXPECT_EQ(result.message, QStringLiteral("网络保存失败，错误信息：error"));
        }
        EXPECT_EQ(column("duanyu", cases.record().caseId), QString::fromLatin1(c.reply));
    }
    EXPECT_EQ(cloud.newCases, 1);
    EXPECT_EQ(cloud.textSaves, 3);

    cases.setCloud(nullptr);
    cases.createCase(sampleCast(QStringLiteral("offline")));
    EXPECT_EQ(cloud.newCases, 1);
}

TEST_F(CaseStoreTest, ACloudCaseGetsItsLocalRowOnItsFirstSave) {
    store::CaseRecord fields;
    fields.hexagramName = QStringLiteral("乾为天");
    fields.caseNumber = QStringLiteral("20230101111111京房式T:08:00:00");
    fields.categoryId = "3";
    fields.year = "2023";
    fields.month = "1";
    fields.day = "1";
    cases.adoptCloudCase(12, fields);
    cases.adoptCloudCase(12, fields);
    EXPECT_EQ(history.entries(), QStringList{QStringLiteral("12(网络)")});
    EXPECT_EQ(cases.record().saveKey, 0);

    EXPECT_TRUE(cases.saveCaseTexts(TextsToSave::Judgment, {QStringLiteral("云端断语"), {}}).saved);
    EXPECT_TRUE(cases.saveCaseTexts(TextsToSave::Feedback, {{}, QStringLiteral("云端反馈")}).saved);
    EXPECT_EQ(count(fields.caseNumber), 1);
    const qint64 id =
        db->getFirstInteger(QStringLiteral("select id from gua_table where gua_bianhao=?"), {fields.caseNumber});
    EXPECT_EQ(column("lei_id", id), "3");
    EXPECT_EQ(column("duanyu", id), QStringLiteral("云端断语"));
    EXPECT_EQ(column("fankui", id), QStringLiteral("云端反馈"));
}

}  // namespace
