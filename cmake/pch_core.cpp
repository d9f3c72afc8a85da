// Anchor of the precompiled Qt Core/Sql headers.
