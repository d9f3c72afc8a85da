#pragma once

// One add action of a goods picker (a batch of selected goods, or a double click that adds at
// once): its two questions are asked at most once, and the first answer holds for the rest of
// the batch. A goods already in the basket or on the document is asked about with
// "该商品已添加，需要重复添加吗？" (No leaves it and every later one out, Yes lets them all in);
// a goods whose list row shows a stock below 1 is refused once with the picker's text (every
// later short goods left out silently) or, with negative stock allowed, asked about once.

#include <QString>

class Notices;

class PickerBatchAnswers
{
public:
    explicit PickerBatchAnswers(Notices &notices) : m_notices(notices) {}

    // Whether a goods that is (or is not) a duplicate goes into the batch.
    bool passDuplicate(bool duplicate);
    // Whether a goods of list stock `stock` goes into the batch: below 1 it is a shortage,
    // `refusal` shown (negative stock not allowed) or `question` asked.
    bool passShortage(double stock, bool allowNegative, const QString &refusal, const QString &question);

private:
    enum class Answer { NotAsked, Skip, Add };
    Notices &m_notices;
    Answer m_duplicate = Answer::NotAsked;
    Answer m_shortage = Answer::NotAsked;
};
