# The sources of the fuzz targets' bodies, shared by the libFuzzer programs (fuzz/)
# and by the test that replays the kept inputs (tests/fuzz/).
set(SV_FUZZ_TARGET_SOURCES
  ${PROJECT_SOURCE_DIR}/fuzz/SvFuzzParser.cpp
  ${PROJECT_SOURCE_DIR}/fuzz/SvFuzzLocaleCode.cpp
  ${PROJECT_SOURCE_DIR}/fuzz/SvFuzzXmlReader.cpp
  ${PROJECT_SOURCE_DIR}/fuzz/SvFuzzXmlWriter.cpp
  ${PROJECT_SOURCE_DIR}/fuzz/SvFuzzLanguageXml.cpp
  ${PROJECT_SOURCE_DIR}/fuzz/SvFuzzConvert.cpp
  ${PROJECT_SOURCE_DIR}/fuzz/SvFuzzReport.cpp)
