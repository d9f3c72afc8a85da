#include "engine/forms/reportdesign.h"

#include "engine/templateedit.h"
#include "foundation/notices.h"
#include "report/report.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

struct Caption
{
    const char *key;
    const char *text;
};

// Paper sizes as the editor offers them.
const Caption kPageSizes[] = {
    {"A4", "A4 (210×297)"},        {"A5L", "A5 横向 (210×148)"},   {"241x280", "241×280 连续纸"},
    {"241x140", "241×140 二等分"}, {"241x93", "241×93 三等分"},    {"roll58", "58mm 卷纸"},
    {"roll80", "80mm 卷纸"},       {"custom", "自定义"},
};

const Caption kBandKinds[] = {
    {"pageHeader", "页眉"}, {"header", "单据头"}, {"detail", "明细"}, {"footer", "表尾"}, {"pageFooter", "页脚"},
};

const Caption kItemKinds[] = {{"text", "文本"}, {"line", "线"}, {"box", "框"}, {"barcode", "条码"}, {"image", "图片"}};
const Caption kAligns[] = {{"left", "左"}, {"center", "居中"}, {"right", "右"}};

QString BandCaption(BandKind kind)
{
    return QString::fromUtf8(kBandKinds[int(kind)].text);
}

QString ItemKindCaption(ItemKind kind)
{
    return QString::fromUtf8(kItemKinds[int(kind)].text);
}

ItemKind ItemKindOf(const QString &caption)
{
    for (int i = 0; i < 5; ++i) {
        if (caption == QString::fromUtf8(kItemKinds[i].text) || caption == QLatin1String(kItemKinds[i].key))
            return ItemKind(i);
    }
    return ItemKind::Text;
}

QString AlignCaption(const QString &align)
{
    for (const Caption &c : kAligns) {
        if (align == QLatin1String(c.key))
            return QString::fromUtf8(c.text);
    }
    return QString::fromUtf8(kAligns[0].text);
}

QString AlignOf(const QString &caption)
{
    for (const Caption &c : kAligns) {
        if (caption == QString::fromUtf8(c.text) || caption == QLatin1String(c.key))
            return QLatin1String(c.key);
    }
    return QStringLiteral("left");
}

QDoubleSpinBox *MmBox(QWidget *parent, const char *name, double max = 1000)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setDecimals(1);
    box->setRange(0, max);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TF_ReportDesign::TF_ReportDesign(const QString &name, Notices &notices, int uiFontSize, const QString &folder,
                                 QWidget *parent)
    : ScreenDialog(uiFontSize, parent), m_name(name), m_notices(notices), m_folder(folder)
{
    setObjectName(QStringLiteral("TF_ReportDesign"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_path = TemplatePathFor(name, folder);
    setWindowTitle(QStringLiteral("报表设计 — ") + (m_path.isEmpty() ? name : QFileInfo(m_path).fileName()));
    resize(1240, 760);
    build();
    loadFile();
}

void TF_ReportDesign::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *splitter = new QSplitter(this);
    layout->addWidget(splitter, 1);

    auto *tabs = new QTabWidget(splitter);
    tabs->setObjectName(QStringLiteral("tab_Design"));

    // ---- 版面: page, bands, items ----
    auto *designPage = new QWidget(tabs);
    auto *designLayout = new QVBoxLayout(designPage);

    auto *pageBox = new QGroupBox(QStringLiteral("页面"), designPage);
    auto *pageForm = new QGridLayout(pageBox);
    m_pageSize = new KeyedCombo(pageBox);
    m_pageSize->setObjectName(QStringLiteral("cmb_PageSize"));
    for (const Caption &c : kPageSizes)
        m_pageSize->addKeyed(QString::fromUtf8(c.text), QLatin1String(c.key));
    m_pageWidth = MmBox(pageBox, "edt_PageWidth");
    m_pageHeight = MmBox(pageBox, "edt_PageHeight");
    m_landscape = new QCheckBox(QStringLiteral("横向"), pageBox);
    m_landscape->setObjectName(QStringLiteral("chk_Landscape"));
    pageForm->addWidget(new QLabel(QStringLiteral("纸张："), pageBox), 0, 0);
    pageForm->addWidget(m_pageSize, 0, 1, 1, 3);
    pageForm->addWidget(m_landscape, 0, 4);
    pageForm->addWidget(new QLabel(QStringLiteral("宽："), pageBox), 0, 5);
    pageForm->addWidget(m_pageWidth, 0, 6);
    pageForm->addWidget(new QLabel(QStringLiteral("高："), pageBox), 0, 7);
    pageForm->addWidget(m_pageHeight, 0, 8);
    const char *marginNames[] = {"edt_MarginLeft", "edt_MarginTop", "edt_MarginRight", "edt_MarginBottom"};
    const char *marginCaptions[] = {"左边距：", "上边距：", "右边距：", "下边距："};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = MmBox(pageBox, marginNames[i], 100);
        pageForm->addWidget(new QLabel(QString::fromUtf8(marginCaptions[i]), pageBox), 1, i * 2);
        pageForm->addWidget(m_margins[i], 1, i * 2 + 1);
    }
    m_fontSize = new QDoubleSpinBox(pageBox);
    m_fontSize->setObjectName(QStringLiteral("edt_FontSize"));
    m_fontSize->setRange(4, 72);
    m_fontSize->setDecimals(1);
    m_title = new QLineEdit(pageBox);
    m_title->setObjectName(QStringLiteral("edt_Title"));
    pageForm->addWidget(new QLabel(QStringLiteral("字号："), pageBox), 2, 0);
    pageForm->addWidget(m_fontSize, 2, 1);
    pageForm->addWidget(new QLabel(QStringLiteral("标题："), pageBox), 2, 2);
    pageForm->addWidget(m_title, 2, 3, 1, 6);
    designLayout->addWidget(pageBox);

    auto *middle = new QHBoxLayout;
    auto *bandBox = new QGroupBox(QStringLiteral("区域"), designPage);
    auto *bandLayout = new QVBoxLayout(bandBox);
    m_bands = new QListWidget(bandBox);
    m_bands->setObjectName(QStringLiteral("lst_Bands"));
    m_bands->setMaximumWidth(220);
    bandLayout->addWidget(m_bands, 1);
    auto *bandForm = new QFormLayout;
    m_bandHeight = MmBox(bandBox, "edt_BandHeight");
    m_firstPageOnly = new QCheckBox(QStringLiteral("仅第一页"), bandBox);
    m_firstPageOnly->setObjectName(QStringLiteral("chk_FirstPageOnly"));
    m_dataSet = new QLineEdit(bandBox);
    m_dataSet->setObjectName(QStringLiteral("edt_DataSet"));
    m_columns = new QSpinBox(bandBox);
    m_columns->setObjectName(QStringLiteral("edt_Columns"));
    m_columns->setRange(1, 20);
    m_columnWidth = MmBox(bandBox, "edt_ColumnWidth");
    bandForm->addRow(QStringLiteral("高度："), m_bandHeight);
    bandForm->addRow(QString(), m_firstPageOnly);
    bandForm->addRow(QStringLiteral("数据集："), m_dataSet);
    bandForm->addRow(QStringLiteral("列数："), m_columns);
    bandForm->addRow(QStringLiteral("列宽："), m_columnWidth);
    bandLayout->addLayout(bandForm);
    auto *bandButtons = new QHBoxLayout;
    m_newBandKind = new KeyedCombo(bandBox);
    m_newBandKind->setObjectName(QStringLiteral("cmb_BandKind"));
    for (int i = 0; i < 5; ++i)
        m_newBandKind->addKeyed(QString::fromUtf8(kBandKinds[i].text), QString::number(i));
    m_newBandKind->setCurrentIndex(2);
    auto *addBandButton = MakeButton(bandBox, "btn_AddBand", QStringLiteral("增加区域"));
    auto *delBandButton = MakeButton(bandBox, "btn_DelBand", QStringLiteral("删除区域"));
    bandButtons->addWidget(m_newBandKind);
    bandButtons->addWidget(addBandButton);
    bandButtons->addWidget(delBandButton);
    bandLayout->addLayout(bandButtons);
    middle->addWidget(bandBox);

    auto *itemBox = new QGroupBox(QStringLiteral("项目"), designPage);
    auto *itemLayout = new QVBoxLayout(itemBox);
    m_items = new DataGrid(itemBox);
    m_items->setObjectName(QStringLiteral("grid_Items"));
    m_itemModel = new RowSetModel;
    m_itemModel->setKeyField(QStringLiteral("no"));
    {
        auto number = [](const char *field, const char *caption, int width) {
            GridColumn c{QLatin1String(field), QString::fromUtf8(caption), width, ColumnKind::Number};
            c.editable = true;
            c.decimals = 2;
            return c;
        };
        GridColumn no{QStringLiteral("no"), QStringLiteral("序号"), 40, ColumnKind::Integer};
        GridColumn kind{QStringLiteral("kind"), QStringLiteral("类型"), 60};
        kind.editable = true;
        for (const Caption &c : kItemKinds)
            kind.lookup.append({QString::fromUtf8(c.text), QString::fromUtf8(c.text)});
        GridColumn text{QStringLiteral("text"), QStringLiteral("文本"), 170};
        text.editable = true;
        GridColumn size = number("size", "字号", 50);
        size.decimals = 1;
        GridColumn bold{QStringLiteral("bold"), QStringLiteral("粗体"), 40, ColumnKind::Check};
        bold.editable = true;
        GridColumn align{QStringLiteral("align"), QStringLiteral("对齐"), 50};
        align.editable = true;
        for (const Caption &c : kAligns)
            align.lookup.append({QString::fromUtf8(c.text), QString::fromUtf8(c.text)});
        GridColumn border{QStringLiteral("border"), QStringLiteral("边框"), 50};
        border.editable = true;
        border.hint = QStringLiteral("L T R B 的任意组合");
        GridColumn format{QStringLiteral("format"), QStringLiteral("格式"), 70};
        format.editable = true;
        format.hint = QStringLiteral("money、total、qty 或 #,0.00");
        GridColumn symbology{QStringLiteral("symbology"), QStringLiteral("条码类型"), 70};
        symbology.editable = true;
        for (const char *s : {"", "code39", "code128", "ean13", "qr"})
            symbology.lookup.append({QLatin1String(s), QLatin1String(s)});
        m_itemModel->setColumns({no, kind, number("x", "X", 50), number("y", "Y", 50), number("w", "宽", 50),
                                 number("h", "高", 50), text, size, bold, align, border, format, symbology});
    }
    m_items->setModel(m_itemModel);
    m_items->setCommitHook([this](const QVariant &key, const QString &field, const QString &text) {
        setItemField(key.toInt() - 1, field, text);
    });
    itemLayout->addWidget(m_items, 1);
    auto *itemButtons = new QHBoxLayout;
    auto *addItemButton = MakeButton(itemBox, "btn_AddItem", QStringLiteral("增加"));
    auto *copyItemButton = MakeButton(itemBox, "btn_CopyItem", QStringLiteral("复制"));
    auto *delItemButton = MakeButton(itemBox, "btn_DelItem", QStringLiteral("删除"));
    auto *upButton = MakeButton(itemBox, "btn_Up", QStringLiteral("上移"));
    auto *downButton = MakeButton(itemBox, "btn_Down", QStringLiteral("下移"));
    for (QPushButton *b : {addItemButton, copyItemButton, delItemButton, upButton, downButton})
        itemButtons->addWidget(b);
    itemButtons->addStretch();
    itemLayout->addLayout(itemButtons);
    middle->addWidget(itemBox, 1);
    designLayout->addLayout(middle, 1);
    tabs->addTab(designPage, QStringLiteral("版面"));

    // ---- 小票文本: the raw layout ----
    auto *rawPage = new QWidget(tabs);
    auto *rawLayout = new QVBoxLayout(rawPage);
    auto *rawTop = new QHBoxLayout;
    m_rawPresent = new QCheckBox(QStringLiteral("小票打印机文本格式"), rawPage);
    m_rawPresent->setObjectName(QStringLiteral("chk_Raw"));
    m_rawColumns = new QSpinBox(rawPage);
    m_rawColumns->setObjectName(QStringLiteral("edt_RawColumns"));
    m_rawColumns->setRange(16, 80);
    m_rawFeed = new QSpinBox(rawPage);
    m_rawFeed->setObjectName(QStringLiteral("edt_RawFeed"));
    m_rawFeed->setRange(0, 20);
    m_rawCut = new QCheckBox(QStringLiteral("切纸"), rawPage);
    m_rawCut->setObjectName(QStringLiteral("chk_RawCut"));
    m_rawDataSet = new QLineEdit(rawPage);
    m_rawDataSet->setObjectName(QStringLiteral("edt_RawDataSet"));
    rawTop->addWidget(m_rawPresent);
    rawTop->addWidget(new QLabel(QStringLiteral("每行字符："), rawPage));
    rawTop->addWidget(m_rawColumns);
    rawTop->addWidget(new QLabel(QStringLiteral("走纸行数："), rawPage));
    rawTop->addWidget(m_rawFeed);
    rawTop->addWidget(m_rawCut);
    rawTop->addWidget(new QLabel(QStringLiteral("数据集："), rawPage));
    rawTop->addWidget(m_rawDataSet, 1);
    rawLayout->addLayout(rawTop);
    auto *rawHint = new QLabel(QStringLiteral("每行一条打印行；单元格以 | 分隔，写作 宽度+对齐(L/C/R)[@格式]:文本，"
                                              "如 16L:[Q_GoodsPrin.g_name]|10R@0.00:[Q_GoodsPrin.pos_zje]；"
                                              "行首 ?[名称] 表示该值为空时不打印此行。"),
                               rawPage);
    rawHint->setWordWrap(true);
    rawLayout->addWidget(rawHint);
    QFont mono(QStringLiteral("Noto Sans Mono CJK SC"));
    mono.setStyleHint(QFont::Monospace);
    auto rawEdit = [&](const char *name, const char *caption) {
        rawLayout->addWidget(new QLabel(QString::fromUtf8(caption), rawPage));
        auto *edit = new QPlainTextEdit(rawPage);
        edit->setObjectName(QLatin1String(name));
        edit->setFont(mono);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        rawLayout->addWidget(edit, 1);
        return edit;
    };
    m_rawHeader = rawEdit("mem_RawHeader", "表头：");
    m_rawDetail = rawEdit("mem_RawDetail", "明细（每行数据一次）：");
    m_rawFooter = rawEdit("mem_RawFooter", "表尾：");
    tabs->addTab(rawPage, QStringLiteral("小票文本"));

    // ---- Preview ----
    auto *previewBox = new QGroupBox(QStringLiteral("预览"), splitter);
    auto *previewLayout = new QVBoxLayout(previewBox);
    auto *previewTop = new QHBoxLayout;
    m_previewNumber = new QLineEdit(previewBox);
    m_previewNumber->setObjectName(QStringLiteral("edt_PreviewNo"));
    InstallCharFilter(m_previewNumber, CharFilter::Standard);
    keys()->addEnterOwner(m_previewNumber);
    auto *previewButton = MakeButton(previewBox, "btn_Preview", QStringLiteral("预览"));
    m_previewPage = new QSpinBox(previewBox);
    m_previewPage->setObjectName(QStringLiteral("edt_PreviewPage"));
    m_previewPage->setRange(1, 1);
    m_previewPage->setPrefix(QStringLiteral("第 "));
    m_previewPage->setSuffix(QStringLiteral(" 页"));
    previewTop->addWidget(new QLabel(QStringLiteral("预览单号："), previewBox));
    previewTop->addWidget(m_previewNumber, 1);
    previewTop->addWidget(previewButton);
    previewLayout->addLayout(previewTop);
    auto *previewPages = new QHBoxLayout;
    previewPages->addWidget(m_previewPage);
    previewPages->addStretch();
    previewLayout->addLayout(previewPages);
    m_previewInfo = new QLabel(previewBox);
    m_previewInfo->setObjectName(QStringLiteral("lbl_PreviewInfo"));
    previewLayout->addWidget(m_previewInfo);
    auto *scroll = new QScrollArea(previewBox);
    scroll->setObjectName(QStringLiteral("scr_Preview"));
    m_preview = new QLabel(scroll);
    m_preview->setObjectName(QStringLiteral("lbl_Preview"));
    m_preview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll->setWidget(m_preview);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);
    previewLayout->addWidget(scroll, 1);
    splitter->addWidget(tabs);
    splitter->addWidget(previewBox);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({680, 520});

    auto *buttons = new QHBoxLayout;
    auto *saveButton = MakeButton(this, "btn_Save", QStringLiteral("保存(F5)"));
    auto *restoreButton = MakeButton(this, "btn_Restore", QStringLiteral("恢复默认"));
    auto *exitButton = MakeButton(this, "btn_Exit", QStringLiteral("退出(Esc)"));
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(restoreButton);
    buttons->addWidget(exitButton);
    layout->addLayout(buttons);

    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(250);
    connect(m_previewTimer, &QTimer::timeout, this, &TF_ReportDesign::refreshPreview);

    // Page controls.
    connect(m_pageSize, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_showing)
            setPageSize(m_pageSize->currentKey());
    });
    for (QDoubleSpinBox *box : {m_pageWidth, m_pageHeight, m_margins[0], m_margins[1], m_margins[2], m_margins[3],
                                m_fontSize})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { readPage(); });
    connect(m_landscape, &QCheckBox::toggled, this, [this] { readPage(); });
    connect(m_title, &QLineEdit::textEdited, this, [this] { readPage(); });
    // Bands.
    connect(m_bands, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_showing)
            selectBand(row);
    });
    connect(m_bandHeight, &QDoubleSpinBox::valueChanged, this, [this] { readBand(); });
    connect(m_columnWidth, &QDoubleSpinBox::valueChanged, this, [this] { readBand(); });
    connect(m_columns, &QSpinBox::valueChanged, this, [this] { readBand(); });
    connect(m_firstPageOnly, &QCheckBox::toggled, this, [this] { readBand(); });
    connect(m_dataSet, &QLineEdit::textEdited, this, [this] { readBand(); });
    connect(addBandButton, &QPushButton::clicked, this,
            [this] { addBand(BandKind(m_newBandKind->currentKey().toInt())); });
    connect(delBandButton, &QPushButton::clicked, this, &TF_ReportDesign::removeBand);
    // Items.
    connect(addItemButton, &QPushButton::clicked, this, &TF_ReportDesign::addItem);
    connect(copyItemButton, &QPushButton::clicked, this, &TF_ReportDesign::copyItem);
    connect(delItemButton, &QPushButton::clicked, this, &TF_ReportDesign::deleteItem);
    connect(upButton, &QPushButton::clicked, this, [this] { moveItem(-1); });
    connect(downButton, &QPushButton::clicked, this, [this] { moveItem(1); });
    // Raw layout.
    connect(m_rawPresent, &QCheckBox::toggled, this, [this] { readRaw(); });
    connect(m_rawCut, &QCheckBox::toggled, this, [this] { readRaw(); });
    connect(m_rawColumns, &QSpinBox::valueChanged, this, [this] { readRaw(); });
    connect(m_rawFeed, &QSpinBox::valueChanged, this, [this] { readRaw(); });
    connect(m_rawDataSet, &QLineEdit::textEdited, this, [this] { readRaw(); });
    for (QPlainTextEdit *edit : {m_rawHeader, m_rawDetail, m_rawFooter})
        connect(edit, &QPlainTextEdit::textChanged, this, [this] { readRaw(); });
    // Preview.
    connect(previewButton, &QPushButton::clicked, this, &TF_ReportDesign::refreshPreview);
    connect(m_previewNumber, &QLineEdit::returnPressed, this, &TF_ReportDesign::refreshPreview);
    connect(m_previewPage, &QSpinBox::valueChanged, this, [this] { m_previewTimer->start(); });

    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(restoreButton, &QPushButton::clicked, this, &TF_ReportDesign::restoreDefault);
    connect(exitButton, &QPushButton::clicked, this, &TF_ReportDesign::exitEditor);
    keys()->bind(Qt::Key_F5, [this] { save(); });
    keys()->bind(Qt::Key_Escape, [this] { exitEditor(); });
}

void TF_ReportDesign::loadFile()
{
    if (m_path.isEmpty() || !LoadTemplate(m_name, m_template, m_folder)) {
        // A missing file opens empty under its name; saving creates it.
        if (!m_path.isEmpty() && QFileInfo(m_path).isFile()) {
            // Present but unreadable: start from nothing, the file stays until a save.
            m_previewInfo->setText(QStringLiteral("模板文件无法读取，已按空白模板打开。"));
        }
        m_template = EmptyTemplate(m_name);
    }
    m_modified = false;
    showTemplate();
}

void TF_ReportDesign::showTemplate()
{
    m_showing = true;
    const PageSetup &page = m_template.page;
    m_pageSize->selectKey(page.size);
    m_pageWidth->setValue(page.width);
    m_pageHeight->setValue(page.height);
    m_pageWidth->setEnabled(page.size == QLatin1String("custom"));
    m_pageHeight->setEnabled(page.size == QLatin1String("custom"));
    m_landscape->setChecked(page.landscape);
    m_margins[0]->setValue(page.left);
    m_margins[1]->setValue(page.top);
    m_margins[2]->setValue(page.right);
    m_margins[3]->setValue(page.bottom);
    m_fontSize->setValue(m_template.fontSize);
    m_title->setText(m_template.title);

    const RawLayout &raw = m_template.raw;
    m_rawPresent->setChecked(raw.present);
    m_rawColumns->setValue(raw.columns);
    m_rawFeed->setValue(raw.feed);
    m_rawCut->setChecked(raw.cut);
    m_rawDataSet->setText(raw.dataSet);
    m_rawHeader->setPlainText(RawLinesText(raw.header));
    m_rawDetail->setPlainText(RawLinesText(raw.detail));
    m_rawFooter->setPlainText(RawLinesText(raw.footer));
    m_showing = false;

    updateBandList();
    selectBand(m_template.bands.isEmpty() ? -1 : 0);
    m_previewTimer->start();
}

void TF_ReportDesign::updateBandList()
{
    m_showing = true;
    const int keep = m_band;
    m_bands->clear();
    for (const ReportBand &band : m_template.bands) {
        QString text = BandCaption(band.kind) + QStringLiteral("  %1 mm").arg(band.height);
        if (band.kind == BandKind::Detail && !band.dataSet.isEmpty())
            text += QStringLiteral("  ") + band.dataSet;
        m_bands->addItem(text);
    }
    if (keep >= 0 && keep < m_bands->count())
        m_bands->setCurrentRow(keep);
    m_showing = false;
}

void TF_ReportDesign::selectBand(int band)
{
    m_band = band >= 0 && band < m_template.bands.size() ? band : -1;
    m_showing = true;
    m_bands->setCurrentRow(m_band);
    m_showing = false;
    showBand();
    reloadItems(0);
}

void TF_ReportDesign::showBand()
{
    m_showing = true;
    const bool has = m_band >= 0;
    for (QWidget *w : std::initializer_list<QWidget *>{m_bandHeight, m_firstPageOnly, m_dataSet, m_columns,
                                                        m_columnWidth})
        w->setEnabled(has);
    if (has) {
        const ReportBand &band = m_template.bands.at(m_band);
        m_bandHeight->setValue(band.height);
        m_firstPageOnly->setChecked(band.firstPageOnly);
        m_dataSet->setText(band.dataSet);
        m_columns->setValue(band.columns);
        m_columnWidth->setValue(band.columnWidth);
        m_firstPageOnly->setEnabled(band.kind == BandKind::Header);
        const bool detail = band.kind == BandKind::Detail;
        m_dataSet->setEnabled(detail);
        m_columns->setEnabled(detail);
        m_columnWidth->setEnabled(detail);
    }
    m_showing = false;
}

void TF_ReportDesign::reloadItems(int keepRow)
{
    QVector<QVector<QVariant>> rows;
    if (m_band >= 0) {
        const QList<ReportItem> &items = m_template.bands.at(m_band).items;
        for (int i = 0; i < items.size(); ++i) {
            const ReportItem &it = items.at(i);
            rows.append({i + 1, ItemKindCaption(it.kind), it.x, it.y, it.w, it.h, it.text,
                         it.fontSize > 0 ? QVariant(it.fontSize) : QVariant(), it.bold ? 1 : 0,
                         AlignCaption(it.align), it.border, it.format, it.symbology});
        }
    }
    m_itemModel->setRows(rows);
    m_items->reload(ReloadTarget::KeepKey);
    if (keepRow >= 0 && keepRow < rows.size())
        m_items->setCurrentRow(keepRow);
}

void TF_ReportDesign::changed()
{
    if (m_showing)
        return;
    m_modified = true;
    m_previewTimer->start();
}

void TF_ReportDesign::setPageSize(const QString &size)
{
    PageSetup &page = m_template.page;
    page.size = size;
    if (size != QLatin1String("custom"))
        ResolvePageSize(page);
    m_showing = true;
    m_pageSize->selectKey(size);
    m_pageWidth->setValue(page.width);
    m_pageHeight->setValue(page.height);
    m_pageWidth->setEnabled(size == QLatin1String("custom"));
    m_pageHeight->setEnabled(size == QLatin1String("custom"));
    m_showing = false;
    changed();
}

void TF_ReportDesign::readPage()
{
    if (m_showing)
        return;
    PageSetup &page = m_template.page;
    page.landscape = m_landscape->isChecked();
    if (page.size == QLatin1String("custom")) {
        page.width = m_pageWidth->value();
        page.height = m_pageHeight->value();
    } else {
        ResolvePageSize(page);
        m_showing = true;
        m_pageWidth->setValue(page.width);
        m_pageHeight->setValue(page.height);
        m_showing = false;
    }
    page.left = m_margins[0]->value();
    page.top = m_margins[1]->value();
    page.right = m_margins[2]->value();
    page.bottom = m_margins[3]->value();
    m_template.fontSize = m_fontSize->value();
    m_template.title = m_title->text();
    changed();
}

void TF_ReportDesign::readBand()
{
    if (m_showing || m_band < 0)
        return;
    ReportBand &band = m_template.bands[m_band];
    band.height = m_bandHeight->value();
    band.firstPageOnly = m_firstPageOnly->isChecked();
    band.dataSet = m_dataSet->text().trimmed();
    band.columns = m_columns->value();
    band.columnWidth = m_columnWidth->value();
    updateBandList();
    changed();
}

void TF_ReportDesign::readRaw()
{
    if (m_showing)
        return;
    RawLayout &raw = m_template.raw;
    raw.present = m_rawPresent->isChecked();
    raw.columns = m_rawColumns->value();
    raw.feed = m_rawFeed->value();
    raw.cut = m_rawCut->isChecked();
    raw.dataSet = m_rawDataSet->text().trimmed();
    raw.header = ParseRawLines(m_rawHeader->toPlainText());
    raw.detail = ParseRawLines(m_rawDetail->toPlainText());
    raw.footer = ParseRawLines(m_rawFooter->toPlainText());
    changed();
}

void TF_ReportDesign::addBand(BandKind kind)
{
    ReportBand band;
    band.kind = kind;
    band.height = kind == BandKind::Detail ? 6 : 10;
    if (kind == BandKind::Detail)
        band.dataSet = QStringLiteral("Q_GoodsPrin");
    // Bands keep the order they print in.
    int at = 0;
    while (at < m_template.bands.size() && int(m_template.bands.at(at).kind) <= int(kind))
        ++at;
    m_template.bands.insert(at, band);
    m_band = at;
    updateBandList();
    selectBand(at);
    changed();
}

void TF_ReportDesign::removeBand()
{
    if (m_band < 0)
        return;
    m_template.bands.removeAt(m_band);
    const int next = qMin(m_band, int(m_template.bands.size()) - 1);
    m_band = -1;
    updateBandList();
    selectBand(next);
    changed();
}

void TF_ReportDesign::addItem()
{
    if (m_band < 0)
        return;
    ReportItem item;
    item.w = 30;
    item.h = qMin(5.0, m_template.bands.at(m_band).height);
    item.text = QStringLiteral("文本");
    QList<ReportItem> &items = m_template.bands[m_band].items;
    items.append(item);
    reloadItems(int(items.size()) - 1);
    changed();
}

void TF_ReportDesign::copyItem()
{
    const int row = m_items->currentRow();
    if (m_band < 0 || row < 0)
        return;
    QList<ReportItem> &items = m_template.bands[m_band].items;
    items.insert(row + 1, items.at(row));
    reloadItems(row + 1);
    changed();
}

void TF_ReportDesign::deleteItem()
{
    const int row = m_items->currentRow();
    if (m_band < 0 || row < 0)
        return;
    QList<ReportItem> &items = m_template.bands[m_band].items;
    items.removeAt(row);
    reloadItems(qMin(row, int(items.size()) - 1));
    changed();
}

void TF_ReportDesign::moveItem(int delta)
{
    const int row = m_items->currentRow();
    if (m_band < 0 || row < 0)
        return;
    QList<ReportItem> &items = m_template.bands[m_band].items;
    const int to = row + delta;
    if (to < 0 || to >= items.size())
        return;
    items.move(row, to);
    reloadItems(to);
    changed();
}

void TF_ReportDesign::setItemField(int item, const QString &field, const QString &text)
{
    if (m_band < 0 || item < 0 || item >= m_template.bands.at(m_band).items.size())
        return;
    ReportItem &it = m_template.bands[m_band].items[item];
    const double number = text.trimmed().toDouble();
    if (field == QLatin1String("kind"))
        it.kind = ItemKindOf(text);
    else if (field == QLatin1String("x"))
        it.x = number;
    else if (field == QLatin1String("y"))
        it.y = number;
    else if (field == QLatin1String("w"))
        it.w = number;
    else if (field == QLatin1String("h"))
        it.h = number;
    else if (field == QLatin1String("text"))
        it.text = text;
    else if (field == QLatin1String("size"))
        it.fontSize = number > 0 ? number : 0;
    else if (field == QLatin1String("bold"))
        it.bold = text == QLatin1String("1");
    else if (field == QLatin1String("align"))
        it.align = AlignOf(text);
    else if (field == QLatin1String("border"))
        it.border = text.toUpper().remove(QRegularExpression(QStringLiteral("[^LTRB]")));
    else if (field == QLatin1String("format"))
        it.format = text.trimmed();
    else if (field == QLatin1String("symbology"))
        it.symbology = text.trimmed();
    else
        return;
    if (it.kind == ItemKind::Barcode && it.symbology.isEmpty())
        it.symbology = QStringLiteral("code39");
    reloadItems(item);
    changed();
}

bool TF_ReportDesign::save()
{
    const TemplateCheck check = CheckTemplateItems(m_template);
    if (!check.ok()) {
        selectBand(check.band);
        m_items->setCurrentRow(check.item - 1);
        m_notices.notice(check.text());
        return false;
    }
    if (m_path.isEmpty()) {
        m_notices.notice(m_name.trimmed().isEmpty() ? QStringLiteral("请输入报表文件名！")
                                                    : QStringLiteral("报表文件名不能包含路径！"));
        return false;
    }
    QString error;
    if (!SaveTemplateFile(m_path, m_template, &error)) {
        m_notices.notice(QStringLiteral("保存失败：") + m_path + QLatin1Char('\n') + error);
        return false;
    }
    m_modified = false;
    return true;
}

void TF_ReportDesign::restoreDefault()
{
    ReportTemplate shipped;
    if (!ShippedTemplate(m_name, shipped)) {
        m_notices.notice(QStringLiteral("没有该报表的默认模板：") + m_name);
        return;
    }
    m_template = shipped;
    if (!m_path.isEmpty()) {
        QString error;
        if (!SaveTemplateFile(m_path, m_template, &error)) {
            m_notices.notice(QStringLiteral("保存失败：") + m_path + QLatin1Char('\n') + error);
            m_modified = true;
            showTemplate();
            return;
        }
    }
    m_modified = false;
    m_band = -1;
    showTemplate();
}

void TF_ReportDesign::exitEditor()
{
    if (m_modified) {
        const Notices::Answer answer = m_notices.ask(QStringLiteral("模板已修改，是否保存？"), true);
        if (answer == Notices::Answer::Cancel)
            return;
        if (answer == Notices::Answer::Yes && !save())
            return;
    }
    reject();
}

void TF_ReportDesign::refreshPreview()
{
    m_previewTimer->stop();
    Report report;
    report.setTemplate(m_template, m_folder);
    PrintJob job;
    job.variables = report.variables();
    QString info;
    const QString number = m_previewNumber->text().trimmed();
    bool fromDocument = false;
    if (!number.isEmpty()) {
        if (documentPreview) {
            PrintJob documentJob = job;
            if (documentPreview(number, documentJob)) {
                job = documentJob;
                fromDocument = true;
                info = QStringLiteral("单据 %1").arg(number);
            } else {
                info = QStringLiteral("没有找到单据 %1，按模板默认值预览").arg(number);
            }
        } else {
            info = QStringLiteral("此报表不能按单号预览");
        }
    }
    if (!fromDocument && sampleData)
        sampleData(job);
    report.variables() = job.variables;
    for (const QString &name : job.dataSets.names()) {
        if (const DataSet *rows = job.dataSets.find(name))
            report.setDataSet(name, *rows);
    }
    report.setRowsPerPage(job.rowsPerPage);
    report.setDecimals(job.decimals);
    m_previewPages = report.pageCount();
    m_showing = true;
    m_previewPage->setRange(1, qMax(1, m_previewPages));
    m_showing = false;
    const int page = qMin(m_previewPage->value(), qMax(1, m_previewPages)) - 1;

    // The page as wide as the pane (at least 1 pixel per millimetre).
    const QSizeF mm = report.pageSizeMm();
    const auto *scroll = findChild<QScrollArea *>(QStringLiteral("scr_Preview"));
    // Room for the vertical scroll bar that a tall page brings.
    const int paneWidth = scroll ? scroll->width() - 2 * scroll->frameWidth()
                                       - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 8
                                 : 400;
    const double kDpi = qMax(25.4, paneWidth / qMax(1.0, mm.width()) * 25.4);
    QImage image(qMax(1, int(mm.width() * kDpi / 25.4)), qMax(1, int(mm.height() * kDpi / 25.4)),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(int(kDpi / 0.0254));
    image.setDotsPerMeterY(int(kDpi / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        // The printable area, so that items running over it show.
        const PageSetup &p = m_template.page;
        painter.setPen(QPen(QColor(180, 200, 230), 0, Qt::DashLine));
        const double k = kDpi / 25.4;
        painter.drawRect(QRectF(p.left * k, p.top * k, (mm.width() - p.left - p.right) * k,
                                (mm.height() - p.top - p.bottom) * k));
        report.paintPage(painter, page);
    }
    m_preview->setPixmap(QPixmap::fromImage(image));
    const QString pages = QStringLiteral("共 %1 页").arg(m_previewPages);
    m_previewInfo->setText(info.isEmpty() ? pages : info + QStringLiteral("；") + pages);
}

void TF_ReportDesign::resizeEvent(QResizeEvent *event)
{
    ScreenDialog::resizeEvent(event);
    m_previewTimer->start();
}

QImage TF_ReportDesign::previewImage() const
{
    return m_preview->pixmap().toImage();
}
