#pragma once
// The record of one Visual Basic project file: the fields the browser shows and keeps, each
// behind a get and a set of the same name. Setting TypeString also derives ProjectType and
// TypeFreindlyName from the project type table.

#include <cstdint>
#include <string>

// The names cProject and TypeFreindlyName (so spelt) are kept as the add-in's code has always
// named them; so are the c, m and g prefixes throughout.
class cProject {
 public:
  const std::wstring& TypeFreindlyName() const { return typeFreindlyName_; }
  void TypeFreindlyName(std::wstring value) { typeFreindlyName_ = std::move(value); }

  std::int16_t VersionRevision() const { return versionRevision_; }
  void VersionRevision(std::int16_t value) { versionRevision_ = value; }

  std::int16_t VersionMinor() const { return versionMinor_; }
  void VersionMinor(std::int16_t value) { versionMinor_ = value; }

  std::int16_t VersionMajor() const { return versionMajor_; }
  void VersionMajor(std::int16_t value) { versionMajor_ = value; }

  const std::wstring& VersionProductName() const { return versionProductName_; }
  void VersionProductName(std::wstring value) { versionProductName_ = std::move(value); }

  const std::wstring& VersionLegalCopyright() const { return versionLegalCopyright_; }
  void VersionLegalCopyright(std::wstring value) { versionLegalCopyright_ = std::move(value); }

  const std::wstring& VersionFileDescription() const { return versionFileDescription_; }
  void VersionFileDescription(std::wstring value) { versionFileDescription_ = std::move(value); }

  const std::wstring& VersionCompanyName() const { return versionCompanyName_; }
  void VersionCompanyName(std::wstring value) { versionCompanyName_ = std::move(value); }

  const std::wstring& VersionComments() const { return versionComments_; }
  void VersionComments(std::wstring value) { versionComments_ = std::move(value); }

  const std::wstring& Description() const { return description_; }
  void Description(std::wstring value) { description_ = std::move(value); }

  const std::wstring& ExeName() const { return exeName_; }
  void ExeName(std::wstring value) { exeName_ = std::move(value); }

  const std::wstring& Title() const { return title_; }
  void Title(std::wstring value) { title_ = std::move(value); }

  std::int32_t StartMode() const { return startMode_; }
  void StartMode(std::int32_t value) { startMode_ = value; }

  std::int32_t ProjectType() const { return projectType_; }
  void ProjectType(std::int32_t value) { projectType_ = value; }

  /// The project type as the file writes it, case kept.
  const std::wstring& TypeString() const { return typeString_; }
  /// Stores the text and sets ProjectType and TypeFreindlyName by its upper-cased form:
  /// "EXE" 0 "Standard EXE", "OLEDLL" 2 "ActiveX DLL", "CONTROL" 3 "ActiveX Control", and any
  /// other text, the empty one included, 1 "ActiveX EXE".
  void TypeString(std::wstring value);

  const std::wstring& Name() const { return name_; }
  void Name(std::wstring value) { name_ = std::move(value); }

  /// The version as the lists show it: major.minor.revision, for example 1.0.0.
  std::wstring VersionText() const;

 private:
  std::wstring name_;
  std::wstring typeString_;
  std::int32_t projectType_ = 0;
  std::int32_t startMode_ = 0;
  std::wstring title_;
  std::wstring exeName_;
  std::wstring description_;
  std::wstring versionComments_;
  std::wstring versionCompanyName_;
  std::wstring versionFileDescription_;
  std::wstring versionLegalCopyright_;
  std::wstring versionProductName_;
  std::int16_t versionMajor_ = 0;
  std::int16_t versionMinor_ = 0;
  std::int16_t versionRevision_ = 0;
  std::wstring typeFreindlyName_;
};
