// The goods window's prints: labels and the goods list reach the preview with their template,
// rows and variables, and the shipped templates render them, also from a program folder that
// holds no report/ at all (the compiled-in copies).

#include "screens_fixture.h"

#include "../support/recordingoutput.h"

#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/spxxgl.h"
#include "report/report.h"
#include "screenkit/datagrid.h"
#include "screenkit/trees.h"

#include <QProcess>
#include <QTemporaryDir>

class GoodsPrintTest : public MasterScreenTest
{
protected:
    void SetUp() override
    {
        MasterScreenTest::SetUp();
        if (IsSkipped())
            return;
        // The program folder is fresh: data/ only.
        ASSERT_FALSE(QDir(home.filePath("report")).exists());
        RunSql(db(), "update jxc_company set c_jc = '小店', c_name = '测试公司'");
        setParam("cs_fzdw", 0);
        RunSql(db(), "insert into jxc_goods (g_sn, g_name, g_jm, gc_sn, gc_cid, g_jy, g_kc, g_zhxs, g_sj, dw_name, gg_name) "
                     "values ('20000001', '可乐', 'KL', '1000', 2, 0, 12, 1, 3.5, '瓶', '500ml'), "
                     "('20000002', '雪碧', 'XB', '1000', 2, 0, 8, 1, 3, '瓶', '')");
        window = std::make_unique<TF_Spxxgl>(context());
        window->setReportOutput(&output);
        window->show();
        QApplication::processEvents();
    }


    void TearDown() override
    {
        window.reset();
        MasterScreenTest::TearDown();
    }

    RecordingReportOutput output;
    std::unique_ptr<TF_Spxxgl> window;
};

TEST_F(GoodsPrintTest, GoodsListPrintsTheGridsRowsWithClassAndCompany)
{
    window->printList();
    ASSERT_EQ(output.jobs.size(), 1);
    const PrintJob &job = output.jobs.first().job;
    EXPECT_TRUE(job.templateFound);
    EXPECT_EQ(job.variables.value("goodsclass"), "所有类别");
    EXPECT_EQ(job.variables.value("comName"), "测试公司");
    EXPECT_EQ(job.variables.value("goodsCount"), "2");
    const QString text = PdfText(job);
    EXPECT_TRUE(text.contains("商品基本信息"));
    EXPECT_TRUE(text.contains("可乐"));
    EXPECT_TRUE(text.contains("20.00")) << text.toUtf8().constData();
}

TEST_F(GoodsPrintTest, LabelsOfSelectedRowsCarryTheCompanyShortName)
{
    window->grid()->setCurrentRow(1);
    window->grid()->view()->selectRow(1);
    window->printSelectedLabels();
    ASSERT_EQ(output.jobs.size(), 1);
    const PrintJob &job = output.jobs.first().job;
    EXPECT_TRUE(job.templateFound);
    const QString text = PdfText(job);
    EXPECT_TRUE(text.contains("标价签"));
    EXPECT_TRUE(text.contains("小店"));
    EXPECT_TRUE(text.contains("雪碧"));
    EXPECT_FALSE(text.contains("可乐"));
}
