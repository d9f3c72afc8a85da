// Rules may hold SQL: not reported.
const char *kList = "select id from jxc_goods order by id";
