#include "foundation/pickerbatch.h"

#include "foundation/notices.h"

bool PickerBatchAnswers::passDuplicate(bool duplicate)
{
    if (!duplicate || m_duplicate == Answer::Add)
        return true;
    if (m_duplicate == Answer::Skip)
        return false;
    m_duplicate = m_notices.confirm(QStringLiteral("该商品已添加，需要重复添加吗？")) ? Answer::Add : Answer::Skip;
    return m_duplicate == Answer::Add;
}

bool PickerBatchAnswers::passShortage(double stock, bool allowNegative, const QString &refusal, const QString &question)
{
    if (stock >= 1.0 || m_shortage == Answer::Add)
        return true;
    if (m_shortage == Answer::Skip)
        return false;
    if (!allowNegative) {
        m_notices.notice(refusal);
        m_shortage = Answer::Skip;
        return false;
    }
    m_shortage = m_notices.confirm(question) ? Answer::Add : Answer::Skip;
    return m_shortage == Answer::Add;
}
