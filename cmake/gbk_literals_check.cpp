// Compiled into every target whose narrow literals must be GBK bytes: the document and every
// text rule are GBK byte strings, so a literal that came out as UTF-8 would compare, measure
// and cut wrongly without any other sign. This stops such a build instead.
static_assert(sizeof("青") == 3 && "青"[0] == '\xC7' && "青"[1] == '\xE0',
              "narrow string literals here must be GBK: compile with -fexec-charset=GB18030");
static_assert(sizeof("：") == 3 && "："[0] == '\xA3' && "："[1] == '\xBA',
              "narrow string literals here must be GBK: compile with -fexec-charset=GB18030");
