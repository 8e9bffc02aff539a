// cmbStatus_Click's work: the hide and restore passes over the chosen rows.
#include "crypto/cEncrypt.h"
#include "engine/HidePass.h"
#include "engine/RestoreSteps.h"

namespace veilbox {
namespace {

// The restore pass for one row.
RowResult RestoreRow(Session& session, cEncrypt& cipher, size_t row) {
  if (auto refused = RefuseUnusable(session, row)) return *refused;
  if (session.folders[row].status == kVisible) return AlreadySo();
  RestoreResult restored = RestoreFolder(session, cipher, row, RestoreUse::Restore);
  if (restored.restored) session.folders.Replace(row, *restored.restored);
  return restored.result;
}

}  // namespace

CommandResult Session::Hide(const std::vector<size_t>& rows, bool encrypt) {
  cEncrypt cipher;
  return RunRows(*this, rows, [&](size_t row) { return HideRow(*this, cipher, row, encrypt); });
}

CommandResult Session::Restore(const std::vector<size_t>& rows) {
  cEncrypt cipher;
  return RunRows(*this, rows, [&](size_t row) { return RestoreRow(*this, cipher, row); });
}

}  // namespace veilbox
