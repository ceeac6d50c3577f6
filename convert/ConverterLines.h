#pragma once
// The converter's console lines, written alike by the editor's converter
// page and by `ra7 convert`, and the lines that say what a tangent-space run
// did.

#include <cstdint>
#include <string>
#include <vector>

namespace ra7 {

struct TangentSpaceReport;

inline constexpr const char* kConverterLoadingLine = "--Конвертер: загружаю модель...";
inline constexpr const char* kConverterNotTriangulatedLine =
    "--Конвертер: Ошибка! Модель не триангулирована!";
inline constexpr const char* kConverterNoFacesLine = "--Конвертер: Ошибка! В модели нет ни одной грани!";
inline constexpr const char* kConverterCancelledLine = "--Конвертер: Отмена конвертации!";
inline constexpr const char* kConverterStartLine = "--Конвертер: начало конвертации...";
inline constexpr const char* kConverterMaySaveLine = "--Конвертер: Можете сохранить модель...";
inline constexpr const char* kTangentStartLine = "--Конвертер: вычисляю tangent space...";
inline constexpr const char* kTangentDoneLine = "--Конвертер: вычисления tangent space окончены...";
inline constexpr const char* kMeshesSavingLine = "--Cохраняю...";
inline constexpr const char* kMeshesSavedLine = "--Cохранено...";

// "--Конвертер: загрузка окончена за " + the elapsed time.
std::string ConverterLoadedLine(std::int64_t microseconds);
// "--Конвертер: конвертация окончена за " + the elapsed time.
std::string ConverterConvertedLine(std::int64_t microseconds);

// What a run did, one console line each: "! " lines for meshes in video
// memory, meshes the mender refused and meshes that could not be written,
// then a "- " line with the count. When nothing was computed, the first
// line says why (vertex buffers, no geometry with a mesh).
std::vector<std::string> TangentReportLines(const TangentSpaceReport& report);
// Why nothing was computed, for a message box; empty when something was.
std::string TangentNothingDoneReason(const TangentSpaceReport& report);

} // namespace ra7
