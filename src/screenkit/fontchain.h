#pragma once

// The font chain of screens and prints: Noto Sans CJK SC first (CJK, full-width forms and the
// common symbols such as "℃" and "½"), then WenQuanYi Micro Hei; for what both lack Qt merges
// in any other installed font that has the character.

#include <QStringList>

class QGuiApplication;

QStringList InterfaceFontFamilies();

// Gives the application's default font the chain (its size stays the platform's).
void ApplyInterfaceFontChain(QGuiApplication &app);
