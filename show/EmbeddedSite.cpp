#include "SiteArchive.h"

#include <SiteArchiveData.h>

SiteArchive& SiteArchive::embedded()
{
    // Read in place from the program's own data for the rest of the program's life.
    static SiteArchive archive (SiteArchiveData::site_zip, (size_t) SiteArchiveData::site_zipSize);
    return archive;
}
