// 打印 of the customer, supplier, warehouse and employee lists: the rows the grid shows, the
// company variables and the print date reach the template, which names nothing else.

#include "screens_fixture.h"

#include "../support/recordingoutput.h"

#include "masterdata/forms/ckgl.h"
#include "masterdata/forms/khgl.h"
#include "masterdata/forms/user.h"
#include "report/report.h"
#include "screenkit/datagrid.h"

#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>

class MasterPrintTest : public MasterScreenTest
{
protected:
    void SetUp() override
    {
        MasterScreenTest::SetUp();
        if (IsSkipped())
            return;
        RunSql(db(), "update jxc_company set c_name = '测试公司'");
        setParam("cs_fzdw", 0);
        RunSql(db(), "insert into jxc_khxx (kh_sn, kh_name, kh_jm, kt_sn, ck_sn, kh_tele) values "
                     "('100002', '华联超市', 'HLCS', '1002', '-1', '0571-88886666'), "
                     "('100003', '联华超市', 'LHCS', '1001', '-1', ''), ('100004', '大润发', 'DRF', '1000', '-1', '')");
        RunSql(db(), "insert into jxc_ghsxx (ghs_sn, ghs_name, ghs_jm, ck_sn) values "
                     "('100002', '联想供货', 'LXGH', '-1'), ('100003', '宏达商贸', 'HDSM', '-1')");
        RunSql(db(), "insert into jxc_ckxx (ck_sn, ck_name, ck_jm, ck_aname, ck_asn) values "
                     "('100002', '联运仓', 'LYC', 'admin,', '100001,')");
        RunSql(db(), "insert into jxc_user (u_sn, u_name, u_jm, u_tc, u_jy, ck_sn) values "
                     "('100002', '联络员', 'LLY', 5, 0, '-1'), ('100003', '张三', 'ZS', 0, 0, '-1')");
    }

    // Opens the list, filters it by "联" and prints.
    const PrintJob &printFiltered(const QString &screenClass)
    {
        std::unique_ptr<QDialog> d(registry.create(screenClass, QString(), context()));
        auto *w = qobject_cast<MasterListWindow *>(d.get());
        w->setReportOutput(&output);
        w->show();
        QApplication::processEvents();
        w->keyBox()->setText("联");
        w->searchKeyword();
        if (auto *p = qobject_cast<TF_PartnerList *>(w))
            p->printList();
        else if (auto *c = qobject_cast<TF_Ckgl *>(w))
            c->printList();
        else if (auto *u = qobject_cast<TF_User *>(w))
            u->printList();
        return output.jobs.last().job;
    }

    // Every [name] of the template is a variable the job sets or a column of its data set.
    static QStringList unknownNames(const PrintJob &job)
    {
        ReportTemplate t;
        if (!LoadTemplate(job.templateName, t))
            return {"template not loaded"};
        static const QRegularExpression name(QStringLiteral("\\[([^\\[\\]]+)\\]"));
        QStringList unknown;
        for (const ReportBand &band : t.bands)
            for (const ReportItem &item : band.items) {
                auto it = name.globalMatch(item.text);
                while (it.hasNext()) {
                    const QString n = it.next().captured(1);
                    if (n == QLatin1String("PAGE") || n == QLatin1String("PAGES") || n == QLatin1String("LINE"))
                        continue;
                    const int dot = n.indexOf(QLatin1Char('.'));
                    if (dot < 0) {
                        if (!job.variables.contains(n))
                            unknown << n;
                        continue;
                    }
                    const DataSet *rows = job.dataSets.find(n.left(dot));
                    if (!rows || rows->columnIndex(n.mid(dot + 1)) < 0)
                        unknown << n;
                }
            }
        return unknown;
    }


    RecordingReportOutput output;
};

TEST_F(MasterPrintTest, ListsPrintTheirShownRowsWithCompanyAndDate)
{
    struct Case
    {
        const char *screen;
        const char *templateName;
        const char *dataSet;
        const char *nameColumn;
        QStringList names;
        const char *title;
    };
    const Case cases[] = {
        {"TF_Khgl", "khgl", "Q_Khxx", "kh_name", {"华联超市", "联华超市"}, "客户信息"},
        {"TF_Ghsgl", "ghsgl", "Q_Ghsxx", "ghs_name", {"联想供货"}, "供货商信息"},
        {"TF_Ckgl", "ckgl", "Q_Ckxx", "ck_name", {"联运仓"}, "仓库信息"},
        {"TF_User", "user", "Q_User", "u_name", {"联络员"}, "员工信息"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.screen);
        const int before = output.jobs.size();
        const PrintJob &job = printFiltered(c.screen);
        ASSERT_GT(output.jobs.size(), before);
        EXPECT_EQ(output.jobs.last().action, RecordingReportOutput::Action::Preview);
        EXPECT_EQ(job.templateName, c.templateName);
        EXPECT_TRUE(job.templateFound);
        EXPECT_EQ(job.variables.value("comName"), "测试公司");
        EXPECT_EQ(job.variables.value("printDate"), "2025-03-14");
        const DataSet *rows = job.dataSets.find(c.dataSet);
        ASSERT_TRUE(rows);
        QStringList names;
        for (int r = 0; r < rows->rowCount(); ++r)
            names << rows->value(r, c.nameColumn);
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(unknownNames(job), QStringList{});
        const QString text = PdfText(job);
        EXPECT_TRUE(text.contains(c.title)) << text.toStdString();
        EXPECT_TRUE(text.contains(c.names.first())) << text.toStdString();
        EXPECT_TRUE(text.contains("第1页 共1页")) << text.toStdString();
    }
    const QString user = PdfText(output.jobs.last().job);
    EXPECT_TRUE(user.contains("5.00%")) << user.toStdString();
}
