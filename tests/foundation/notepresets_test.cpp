// The document-note presets and their dialog (TF_Djbz, TF_Djbz_Add), the note history, and the
// contract routines DeleteContract and LinkContract.

#include "settings_fixture.h"

#include "foundation/contracts.h"
#include "foundation/forms/djbz.h"
#include "foundation/forms/djbz_add.h"
#include "foundation/notepresets.h"
#include "screenkit/datagrid.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest/QTest>

namespace {

class NotePresetsTest : public SettingsTest
{
protected:
    QString presets() const
    {
        QStringList out;
        for (const NotePreset &p : LoadNotePresets(db()))
            out << p.sn + QLatin1Char(':') + p.text;
        return out.join(QLatin1Char('|'));
    }
    // Runs the dialog for `tag`; `steps` act on the shown dialog. Returns the text handed back.
    std::optional<QString> runDialog(const QString &tag, const std::function<void(TF_Djbz &)> &steps)
    {
        TF_Djbz dialog(db(), state, notices, tag);
        WhenShown(QStringLiteral("TF_Djbz"), [&](QDialog *) { steps(dialog); }, failures);
        dialog.exec();
        return dialog.noteText();
    }
};

TEST_F(NotePresetsTest, SavingTrimsSanitisesAndRefusesBlanksAndTwins)
{
    NotePresetResult r = SaveNotePreset(db(), QString(), QStringLiteral(" 送货上门 "));
    ASSERT_EQ(r.status, NotePresetResult::Status::Saved);
    EXPECT_EQ(r.sn, QStringLiteral("100001"));
    r = SaveNotePreset(db(), QString(), QStringLiteral("a'b"));
    ASSERT_EQ(r.status, NotePresetResult::Status::Saved);
    EXPECT_EQ(presets(), QStringLiteral("100001:送货上门|100002:a‘b"));

    struct Case
    {
        const char *name;
        QString sn;
        QString typed;
        const char *refusal;  // nullptr: saved
    };
    const QList<Case> cases = {
        {"blanks", QString(), QStringLiteral("   "), "备注信息必须填写！"},
        {"twin", QString(), QStringLiteral("送货上门"), "备注信息不能重复！"},
        {"twin in another letter case", QString(), QStringLiteral("A'B"), "备注信息不能重复！"},
        {"another preset's text in modify mode", QStringLiteral("100002"), QStringLiteral("送货上门"),
         "备注信息不能重复！"},
        {"unchanged in modify mode", QStringLiteral("100001"), QStringLiteral("送货上门"), nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const NotePresetResult result = SaveNotePreset(db(), c.sn, c.typed);
        if (c.refusal) {
            EXPECT_EQ(result.status, NotePresetResult::Status::Refused);
            EXPECT_EQ(result.text, QString::fromUtf8(c.refusal));
        } else {
            EXPECT_EQ(result.status, NotePresetResult::Status::Saved);
        }
        EXPECT_EQ(presets(), QStringLiteral("100001:送货上门|100002:a‘b"));
    }
}

TEST_F(NotePresetsTest, DialogAddsDeletesAndHandsTheTextToTheFourCallers)
{
    // An empty list: 修改 and 删除 open nothing, 确定 hands back "".
    std::optional<QString> text = runDialog(QStringLiteral("jh"), [&](TF_Djbz &d) {
        QTest::mouseClick(d.btnModi, Qt::LeftButton);
        QTest::mouseClick(d.btnDel, Qt::LeftButton);
        QTest::mouseClick(d.btnOK, Qt::LeftButton);
    });
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, QString());
    EXPECT_TRUE(notices.shown.isEmpty());

    // 新增 → "送货上门" → F5; then 确定 hands it to "xs".
    text = runDialog(QStringLiteral("xs"), [&](TF_Djbz &d) {
        WhenShown(QStringLiteral("TF_Djbz_Add"), [&](QDialog *add) {
            auto *editor = static_cast<TF_Djbz_Add *>(add);
            EXPECT_EQ(editor->windowTitle(), QStringLiteral("增加常用备注信息"));
            editor->edNote->setText(QStringLiteral("送货上门"));
            PressKey(editor, Qt::Key_F5);
        }, failures);
        QTest::mouseClick(d.btnAdd, Qt::LeftButton);
        EXPECT_EQ(d.gridPresets->rowCount(), 1);
        QTest::mouseClick(d.btnOK, Qt::LeftButton);
    });
    EXPECT_EQ(text, std::optional<QString>(QStringLiteral("送货上门")));
    EXPECT_EQ(presets(), QStringLiteral("100001:送货上门"));

    // 删除: No keeps the preset, Yes removes it; a caller of another tag receives nothing.
    notices.script({Notices::Answer::No, Notices::Answer::Yes});
    text = runDialog(QStringLiteral("cgd"), [&](TF_Djbz &d) {
        QTest::mouseClick(d.btnDel, Qt::LeftButton);
        EXPECT_EQ(presets(), QStringLiteral("100001:送货上门"));
        QTest::mouseClick(d.btnDel, Qt::LeftButton);
        EXPECT_EQ(d.gridPresets->rowCount(), 0);
        QTest::mouseClick(d.btnOK, Qt::LeftButton);
    });
    EXPECT_FALSE(text.has_value());
    EXPECT_EQ(presets(), QString());
    EXPECT_EQ(notices.texts(), (QStringList{QStringLiteral("您确定要删除当前备注信息吗！"),
                                            QStringLiteral("您确定要删除当前备注信息吗！")}));
}

TEST_F(NotePresetsTest, HistoryShowsTheFirstTenRemarksOfPurchaseReceipts)
{
    RunSql(db(), QStringLiteral("insert into jxc_jhd (gl_djh, j_note) values ('CJ0', '')"));
    RunSql(db(), QStringLiteral("insert into jxc_jhd (gl_djh, j_note) values ('CJ00', NULL)"));
    for (int i = 1; i <= 12; ++i)
        RunSql(db(), QStringLiteral("insert into jxc_jhd (gl_djh, j_note) values (?, ?)"),
               {QStringLiteral("CJ%1").arg(i), QStringLiteral("N%1").arg(i)});
    QStringList expected;
    for (int i = 1; i <= 10; ++i)
        expected << QStringLiteral("N%1").arg(i);
    EXPECT_EQ(LoadNoteHistory(db()), expected);

    for (const auto &[tag, handed] : {std::pair{"jh", true}, {"cgd", false}}) {
        SCOPED_TRACE(tag);
        const std::optional<QString> text = runDialog(QString::fromLatin1(tag), [&](TF_Djbz &d) {
            d.pages->setCurrentIndex(1);
            EXPECT_EQ(d.gridHistory->rowCount(), 10);
            d.gridHistory->setCurrentRow(1);
            QTest::mouseClick(d.btnOK, Qt::LeftButton);
        });
        EXPECT_EQ(text.has_value(), handed);
        if (handed)
            EXPECT_EQ(*text, QStringLiteral("N2"));
    }
}

TEST_F(NotePresetsTest, DeleteContractRemovesTheRowAndALocalFileOnly)
{
    QTemporaryDir folder;
    const QString local = folder.path() + QLatin1Char('/');
    auto addContract = [&](const QString &code, const QString &path, const QString &file) {
        RunSql(db(), QStringLiteral("insert into jxc_htgl (ht_sn, ht_path, ht_fjname) values (?, ?, ?)"), {code, path, file});
    };
    auto contracts = [&] { return scalar(QStringLiteral("select count(*) from jxc_htgl")); };
    {
        QFile f(local + QStringLiteral("a.pdf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    addContract(QStringLiteral("100001"), local, QStringLiteral("a.pdf"));
    addContract(QStringLiteral("100002"), QString::fromUtf8(kRemoteContractFolder), QStringLiteral("a.pdf"));
    addContract(QStringLiteral("100003"), local, QString());  // the folder alone is never removed

    DeleteContract(db(), QStringLiteral("100009"));
    EXPECT_EQ(contracts(), QStringLiteral("3"));
    DeleteContract(db(), QStringLiteral("100002"));
    EXPECT_EQ(contracts(), QStringLiteral("2"));
    EXPECT_TRUE(QFile::exists(local + QStringLiteral("a.pdf")));
    DeleteContract(db(), QStringLiteral("100001"));
    EXPECT_FALSE(QFile::exists(local + QStringLiteral("a.pdf")));
    DeleteContract(db(), QStringLiteral("100003"));
    EXPECT_TRUE(QDir(folder.path()).exists());
    EXPECT_EQ(contracts(), QStringLiteral("0"));

    // A file that cannot be removed stays, without a word.
    QDir(folder.path()).mkdir(QStringLiteral("ro"));
    const QString readOnly = folder.filePath(QStringLiteral("ro")) + QLatin1Char('/');
    {
        QFile f(readOnly + QStringLiteral("b.pdf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile::setPermissions(folder.filePath(QStringLiteral("ro")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    addContract(QStringLiteral("100004"), readOnly, QStringLiteral("b.pdf"));
    DeleteContract(db(), QStringLiteral("100004"));
    EXPECT_EQ(contracts(), QStringLiteral("0"));
    QFile::setPermissions(folder.filePath(QStringLiteral("ro")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(notices.shown.isEmpty());
}

TEST_F(NotePresetsTest, LinkContractSetsPartnerAndNumberOfTheNamedContractOnly)
{
    RunSql(db(), QStringLiteral("insert into jxc_htgl (ht_sn) values ('100001')"));
    RunSql(db(), QStringLiteral("insert into jxc_htgl (ht_sn) values ('100003')"));
    LinkContract(db(), QStringLiteral("100001"), QStringLiteral("100002"), QStringLiteral("CJ24030810001"));
    LinkContract(db(), QStringLiteral("100009"), QStringLiteral("100005"), QStringLiteral("CJ24030810009"));
    LinkContract(db(), QStringLiteral("1' or '1'='1"), QStringLiteral("100005"), QStringLiteral("CJ24030810009"));
    EXPECT_EQ(scalar(QStringLiteral("select ghs_sn || '/' || gl_djh from jxc_htgl where ht_sn = '100001'")),
              QStringLiteral("100002/CJ24030810001"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_htgl where ghs_sn is not null or gl_djh is not null")),
              QStringLiteral("1"));
}

} // namespace
