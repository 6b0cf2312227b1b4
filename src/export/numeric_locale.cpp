#include "export/numeric_locale.h"

#include <locale.h>

NumericLocaleScope::NumericLocaleScope() {
    locale_t c_numeric = newlocale(LC_NUMERIC_MASK, "C", duplocale(uselocale(static_cast<locale_t>(0))));
    if (c_numeric == static_cast<locale_t>(0)) return;
    selected_ = c_numeric;
    previous_ = uselocale(c_numeric);
}

NumericLocaleScope::~NumericLocaleScope() {
    if (selected_ == nullptr) return;
    uselocale(static_cast<locale_t>(previous_));
    freelocale(static_cast<locale_t>(selected_));
}
