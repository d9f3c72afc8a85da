#include "masterdata/partnerkind.h"

QString PartnerKindInfo::column(const char *suffix) const
{
    return QString::fromLatin1(prefix) + QLatin1Char('_') + QString::fromLatin1(suffix);
}

const PartnerKindInfo &PartnerKindOf(PartnerKind kind)
{
    static const PartnerKindInfo kinds[] = {
        {PartnerKind::Customer, "jxc_khxx", "kh", "YS", "期初应收款", "客户的期初应收款", "SK", "客户名称必须填写！",
         "客户已经存在，确认重复添加吗？", "客户已经存在，确认可以重复吗？", "该客户已发生过业务，不能删除！",
         "该客户为系统内置客户，不能删除！", "您确定要删除当前客户吗！", "该客户已经不存在！", "保存客户信息失败：", 32, 32,
         0, "TF_Khgl", "客户信息", "TF_Khgl_Add", "增加客户", "TF_Khgl_Modi", "修改客户", "TF_Khgl_Search",
         "客户查找", "TF_Khgl_Import", "TF_Khgl_Type", "khgl_add", "khgl_modi", "khgl", "Q_Khxx"},
        {PartnerKind::Supplier, "jxc_ghsxx", "ghs", "YF", "期初应付款", "供货商的期初应付款", "FK",
         "供货商名称必须填写！", "供货商名称已经存在，确认重复添加吗？", "供货商名称已经存在，确认可以重复吗？",
         "该供货商已发生过业务，不能删除！", "该供货商为系统内置供货商，不能删除！", "您确定要删除当前供货商吗！",
         "该供货商已经不存在！", "保存供货商信息失败：", 16, 16, 64, "TF_Ghsgl", "供货商信息", "TF_Ghsgl_Add",
         "添加供货商", "TF_Ghsgl_Modi", "修改供货商", "TF_Ghsgl_Search", "供货商查找", "TF_Ghsgl_Import",
         "TF_Ghsgl_Type", "ghsgl_add", "ghsgl_modi", "ghsgl", "Q_Ghsxx"},
    };
    return kinds[int(kind)];
}
