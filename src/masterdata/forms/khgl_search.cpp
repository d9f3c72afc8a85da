#include "masterdata/forms/khgl_search.h"

#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/partnerlistquery.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// One box (length > 0) or list (length 0: the customer and supplier type and region lists).
struct SearchField
{
    const char *label;
    const char *name;
    int length;
};

struct SearchMember
{
    const char *className;
    const char *caption;
    const char *okCaption;
    const char *closeCaption;
    QList<SearchField> fields;
};

const SearchMember &memberOf(SearchDialogKind kind)
{
    static const SearchMember members[] = {
        {"TF_Khgl_Search", "客户查找", "确定(F5)", "取消(Esc)",
         {{"客户名称：", "tname", 64}, {"联系人：", "tlxr", 16}, {"联系电话：", "ttele", 32}, {"联系地址：", "taddress", 64},
          {"客户类型：", "comType", 0}, {"所属地区：", "comZone", 0}}},
        {"TF_Ghsgl_Search", "供货商查找", "确定(F5)", "取消(Esc)",
         {{"供货商名称：", "tname", 64}, {"联系人：", "tlxr", 16}, {"联系电话：", "ttele", 32}, {"联系地址：", "taddress", 64},
          {"供货商类型：", "comType", 0}, {"所属地区：", "comZone", 0}}},
        {"TF_Ckgl_Search", "仓库查找", "查询(F5)", "退出(Esc)",
         {{"仓库名称：", "tname", 32}, {"负  责  人：", "tfzr", 16}, {"联系电话：", "ttele", 32}, {"仓库地址：", "taddress", 32}}},
        {"TF_User_Search", "员工查询", "确定(F5)", "取消(Esc)",
         {{"员工姓名：", "tname", 64}, {"所任职务：", "tduty", 16}, {"联系电话：", "ttele", 32}, {"联系地址：", "taddress", 64}}},
    };
    return members[int(kind)];
}

}  // namespace

QString TF_MasterSearch::className(SearchDialogKind kind)
{
    return QString::fromLatin1(memberOf(kind).className);
}

TF_MasterSearch::TF_MasterSearch(SearchDialogKind kind, const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    const SearchMember &m = memberOf(kind);
    setObjectName(QString::fromLatin1(m.className));
    setWindowTitle(QString::fromUtf8(m.caption));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    const QSqlDatabase db = context.data->mainDb();
    const PartnerKind partner = kind == SearchDialogKind::Suppliers ? PartnerKind::Supplier : PartnerKind::Customer;
    for (const SearchField &f : m.fields) {
        QWidget *w;
        if (f.length > 0) {
            auto *e = new QLineEdit(this);
            e->setMaxLength(f.length);
            InstallCharFilter(e, CharFilter::Standard);
            w = e;
        } else {
            auto *c = new QComboBox(this);
            c->addItems(QLatin1String(f.name) == QLatin1String("comType") ? PartnerTypeChoices(db, partner)
                                                                           : RegionChoices(db));
            c->setCurrentIndex(0);
            w = c;
        }
        w->setObjectName(QString::fromLatin1(f.name));
        form->addRow(QString::fromUtf8(f.label), w);
        m_fields << w;
    }
    const ConfirmButtons b = AddConfirmButtons(this, QString::fromUtf8(m.okCaption), "btnCancel",
                                               QString::fromUtf8(m.closeCaption), [this] { confirm(); });
    layout->addLayout(b.row);
    keys()->setEnterMovesFocus(true);
    connect(this, &ScreenDialog::opened, this, [this] {
        if (!m_fields.isEmpty())
            m_fields.first()->setFocus();
    });
}

void TF_MasterSearch::confirm()
{
    QStringList texts;
    for (QWidget *w : m_fields) {
        if (auto *e = qobject_cast<QLineEdit *>(w))
            texts << e->text().trimmed();
        else if (auto *c = qobject_cast<QComboBox *>(w))
            texts << c->currentText().trimmed();
    }
    setProperty(handoff::Criteria, texts);
    accept();
}
