#pragma once

// The template choice dialog of the printing rules, scripted: it counts how often it was asked,
// checks the family asked for and stores `choice` as the operator's pick.

#include "engine/printdocument.h"
#include "foundation/loginstate.h"

#include <gtest/gtest.h>

class ScriptedPrintChoice final : public PrintChoiceDialog
{
public:
    ScriptedPrintChoice(PrintChoiceKind kind, QString choice) : m_kind(kind), m_choice(std::move(choice)) {}
    void choose(PrintChoiceKind kind, LoginState &state) override
    {
        ++asked;
        EXPECT_EQ(kind, m_kind);
        (kind == PrintChoiceKind::Sales ? state.SalesTemplate : state.PurchaseInTemplate) = m_choice;
    }
    int asked = 0;

private:
    PrintChoiceKind m_kind;
    QString m_choice;
};
