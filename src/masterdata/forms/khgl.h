#pragma once

// The customer list TF_Khgl "客户信息" and the supplier list TF_Ghsgl "供货商信息": one window
// driven by the partner kind.

#include "masterdata/forms/masterlist.h"
#include "masterdata/partnerkind.h"

class TF_PartnerList final : public MasterListWindow
{
    Q_OBJECT

public:
    TF_PartnerList(PartnerKind kind, const ScreenContext &context, QWidget *parent = nullptr);

    PartnerKind kind() const { return m_kind; }

    // Commands (toolbar, menu and tests).
    void activate();
    void addPartner();
    void modifyPartner();
    void deletePartner();
    void findPartners();
    void toggleDisabled();
    void changeShortCode();
    void printList();
    void openRegistered(const QString &screenClass, const QString &caption);

protected:
    ListStatement statement() const override;
    SearchCriteria keywordCriteria(const QString &key) const override;

private:
    QString column(const char *suffix) const;

    PartnerKind m_kind;
    QAction *m_disable = nullptr;
};
