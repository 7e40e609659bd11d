#include "export/SvExportWriter.h"

#include <span>

namespace sv {

namespace {

const char* const kByteOrderNames[] = {"Big-endian", "Little-endian"};
const char* const kCharacterSetNames[] = {"Unicode", "Ansi", "UTF-8"};
const char* const kContextNames[] = {"None", "FormType+ComponentName", "ComponentName", "FormType"};

// As the report names them: the low seven bits index the table.
std::string NameOf(std::span<const char* const> names, int byte) {
  const int index = byte & 127;
  if (index >= static_cast<int>(names.size()))
    return std::to_string(index);
  return names[index];
}

} // namespace

int ExportSourceColumn(const TSvExportSource& source, const TSvExportOptions& options) {
  const int count = static_cast<int>(source.Languages().size());
  if (count == 0)
    return -1;
  return options.Source >= 0 && options.Source < count ? options.Source : 0;
}

std::vector<int> ExportTargets(const TSvExportSource& source, const TSvExportOptions& options) {
  const int count = static_cast<int>(source.Languages().size());
  const int from = ExportSourceColumn(source, options);
  // A chosen target that is the source leaves no target.
  if (options.Target >= 0 && options.Target < count)
    return options.Target != from ? std::vector<int>{options.Target} : std::vector<int>{};
  std::vector<int> targets;
  for (int i = 0; i < count; ++i)
    if (i != from)
      targets.push_back(i);
  return targets;
}

std::string ByteOrderText(int byte) {
  return NameOf(kByteOrderNames, byte);
}

std::string CharacterSetText(int byte) {
  return NameOf(kCharacterSetNames, byte);
}

std::string ContextKindText(int byte) {
  return NameOf(kContextNames, byte);
}

std::string CompactDateTime(double time) {
  const std::string iso = IsoDateTime(time);
  if (iso.size() != 19 || iso[0] < '0' || iso[0] > '9' || iso.starts_with("0000"))
    return {};
  std::string compact;
  for (char c : iso)
    if (c != '-' && c != ':')
      compact += c;
  return compact + 'Z';
}

} // namespace sv
