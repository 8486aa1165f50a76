#pragma once
// Whether two project records hold the same values, field by field.

#include <tuple>

#include "catalogue/cProject.h"

inline bool SameRecord(const cProject& a, const cProject& b) {
  const auto fields = [](const cProject& p) {
    return std::tuple(p.Name(), p.TypeString(), p.ProjectType(), p.StartMode(), p.Title(),
                      p.ExeName(), p.Description(), p.VersionComments(), p.VersionCompanyName(),
                      p.VersionFileDescription(), p.VersionLegalCopyright(),
                      p.VersionProductName(), p.VersionMajor(), p.VersionMinor(),
                      p.VersionRevision(), p.TypeFreindlyName());
  };
  return fields(a) == fields(b);
}
