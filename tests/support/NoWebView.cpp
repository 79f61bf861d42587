// Linked into test programs that build show views but test nothing of the page: they run
// without a display server's web engine, and so without web views.

#include "show/Show.h"

namespace
{
const bool webViewsOff = []
{
    Show::setWebViewsEnabled (false);
    return true;
}();
} // namespace
