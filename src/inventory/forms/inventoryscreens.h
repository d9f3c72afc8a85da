#pragma once

// The inventory screens in the screen registry: the transfer window TF_Kcdb with its line dialog
// TF_Kcdb_Sele and goods picker TF_Kcdb_Add, the loss and overflow window TF_Bsby with
// TF_Bsby_Sele and TF_Bsby_Add.
//
// Hand-offs: a line dialog takes the dynamic properties "documentContext" (foundation/
// doccontext.h: the page served — the entry page's number, out warehouse or warehouse, date and
// type, or the pending document's number, warehouse, stored date and type), "lineMode" (the mode
// tag: "kcdb", "kcdb_add", "kcdb_modi", "modish"; "bsby", "bsby_add", "bsby_modi", "bsby_sh"),
// "goodsCode" and "lineId" (the line or basket row changed); a picker takes "documentContext"
// and leaves the number its lines went under in the context (numberChanged). The handler
// chooser TF_User2 takes handoff::CallerTag "kcdb" or "bsby".

class ScreenRegistry;

void RegisterInventoryScreens(ScreenRegistry &registry);
