// An order clause spelled in a form.
const char *kOrder = "a.a_jyt, a.id";
