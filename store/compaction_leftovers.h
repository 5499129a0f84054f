#pragma once
// What a compaction cut short (a killed program) leaves in the temporary folder.
namespace store {

// Removes the user's compaction copies ("~ACP" + six letters or digits) and their journals
// ("-journal" added) from the temporary folder, except those of a compaction still running.
void RemoveCompactionLeftovers();

}  // namespace store
