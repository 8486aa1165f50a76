#pragma once
// Whether two project records hold the same values, field by field.

#include "catalogue/cProject.h"

inline bool SameRecord(const cProject& a, const cProject& b) {
  return a.Name() == b.Name() && a.TypeString() == b.TypeString() &&
         a.ProjectType() == b.ProjectType() && a.StartMode() == b.StartMode() &&
         a.Title() == b.Title() && a.ExeName() == b.ExeName() &&
         a.Description() == b.Description() && a.VersionComments() == b.VersionComments() &&
         a.VersionCompanyName() == b.VersionCompanyName() &&
         a.VersionFileDescription() == b.VersionFileDescription() &&
         a.VersionLegalCopyright() == b.VersionLegalCopyright() &&
         a.VersionProductName() == b.VersionProductName() &&
         a.VersionMajor() == b.VersionMajor() && a.VersionMinor() == b.VersionMinor() &&
         a.VersionRevision() == b.VersionRevision() &&
         a.TypeFreindlyName() == b.TypeFreindlyName();
}
