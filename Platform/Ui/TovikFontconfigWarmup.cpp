#include "TovikFontconfigWarmup.h"

#include <fontconfig/fontconfig.h>

TovikFontconfigWarmup::TovikFontconfigWarmup()
    : m_thread([] { FcInit(); })
{
}

TovikFontconfigWarmup::~TovikFontconfigWarmup()
{
    finish();
}

void TovikFontconfigWarmup::finish()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
}
