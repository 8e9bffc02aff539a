// cEncrypt: the program's cipher. A table-driven AES core (128-, 192- and
// 256-bit keys) and the layers above it: byte buffers and files in ECB mode
// with zero padding, and text as uppercase hexadecimal cipher text, the form
// used for encrypted file names and the stored password.
//
// Messages and failures go to the user notices given at construction; an
// object built without them shows nothing and returns the same results. Every text and file
// operation keys the object anew, so only the last key is kept between calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <source_location>
#include <string>
#include <vector>

#include "crypto/Rijndael.h"
#include "diag/UserNotices.h"

namespace veilbox {

class cEncrypt {
 public:
  using Bytes = std::vector<std::uint8_t>;

  static constexpr std::size_t kBlockSize = 16;
  // Files are processed in chunks of this many bytes (250,000 blocks), so
  // memory stays bounded for files of any size.
  static constexpr std::size_t kMaxFileChunkSize = 4'000'000;
  // Title of every message box of the cipher.
  static constexpr const char* kTitle = "Veilbox";

  cEncrypt();
  explicit cEncrypt(UserNotices& notices);

  // --- Block core ---
  // Keys the cipher with the first key_bits / 8 bytes of pass. key_bits
  // other than 128, 192 or 256 raises error 1, and a pass too short for the
  // key raises error 9; either leaves the previous key in use. Returns 0.
  int SetCipherKey(const Bytes& pass, int key_bits);
  // Encrypts plaintext[p..p+15] into ciphertext[q..q+15]; the buffers and the
  // offsets may be the same. An offset without 16 bytes behind it is reported
  // as error 9 and nothing is written.
  void BlockEncrypt(const Bytes& plaintext, Bytes& ciphertext, std::size_t p, std::size_t q);
  // Decrypts ciphertext[q..q+15] into plaintext[p..p+15]; same rules.
  void BlockDecrypt(Bytes& plaintext, const Bytes& ciphertext, std::size_t p, std::size_t q);

  // --- Buffers ---
  // Keys the cipher with the 32-byte form of a pass phrase (see GetPassword).
  int SetCipherKeyString(const std::string& pass_phrase, int key_bits);
  // appendsize = 0: zero padding to whole blocks, no length recorded.
  // Otherwise 1 to 16 bytes of padding whose last byte holds the length mod 16.
  // ciphertext may be the same buffer as plaintext. Returns 0.
  int ArrayEncrypt(const Bytes& plaintext, Bytes& ciphertext, int appendsize);
  // Returns 0; 1 after the message for a bad length field (plaintext keeps
  // every decrypted byte); -1 after the message for a size that is not a
  // multiple of 16 (plaintext unchanged).
  int ArrayDecrypt(Bytes& plaintext, const Bytes& ciphertext, int appendsize);

  // --- Files, with the current key; failures raise ---
  // Writes the cipher file: whole blocks, the last byte of the last block
  // holding the plaintext length mod 16. Returns 0.
  int FileEncrypt(const std::string& plaintext_file, const std::string& ciphertext_file);
  // Returns 1 after the message when the cipher file's size is not a
  // non-zero multiple of 16 (nothing is opened or created), else 0.
  int FileDecrypt(const std::string& plaintext_file, const std::string& ciphertext_file);
  // Key from key text, 128 bits, then FileEncrypt(source -> destination) or
  // FileDecrypt(destination <- source). The destination is deleted first.
  void EncryptFile(const std::string& source, const std::string& destination,
                   const std::string& key);
  void DecryptFile(const std::string& source, const std::string& destination,
                   const std::string& key);
  // True for an existing entry that is not a folder.
  static bool FileExists(const std::string& file_name);
  // Deletes the file when it exists; raises when it cannot.
  static void RidFile(const std::string& file_name);

  // --- Text ---
  // Hex cipher text of text under key (128-bit), or empty after a message.
  std::string Encrypt(const std::string& text, const std::string& key);
  // The plaintext with its 0 to 15 NUL padding characters, or empty after a
  // message.
  std::string Decrypt(const std::string& cipher_text, const std::string& key);
  // The text, in the system's code page and without the NUL fill, that
  // Encrypt made cipher_text from; nullopt, with no message, for anything
  // Encrypt cannot have produced.
  std::optional<std::string> DecryptExact(const std::string& cipher_text, const std::string& key);
  // The file name that a name produced by Encrypt stands for; nullopt, with no
  // message, for anything Encrypt cannot have produced from a file name.
  std::optional<std::string> DecryptFileName(const std::string& name, const std::string& key);

 private:
  // EncryptFile and DecryptFile: checks the arguments, deletes the
  // destination, keys the cipher from key and runs operation, under the trap.
  void KeyedFileOperation(const std::string& source, const std::string& destination,
                          const std::string& key, const std::function<void()>& operation);
  // The 32 key bytes of a key text: its ANSI bytes, cut or zero-padded.
  static Bytes GetPassword(const std::string& key);

  void Message(const std::string& text);
  void Report(const Failure& failure);
  // Runs op under the error trap: a failure goes to the error reporter (when
  // there are notices) and ends op.
  template <class Op>
  void Trapped(Op&& op, std::source_location where = std::source_location::current()) {
    if (notices_) {
      Trap(*notices_, op, where);
      return;
    }
    try {
      op();
    } catch (const std::exception&) {
      // Nobody to tell; the operation's result says it did not finish.
    }
  }
  void EncryptBlocks(std::uint8_t* data, std::size_t size) const;
  void DecryptBlocks(std::uint8_t* data, std::size_t size) const;
  // Keys the cipher with a text key (SetCipherKey with GetPassword, 128
  // bits), unless it is keyed with that text already: a pass over many names
  // expands the key once.
  void KeyWithText(const std::string& key);

  Rijndael core_;
  std::optional<std::string> keyed_with_;  // the text key in use, if it came from one
  Bytes scratch_;                          // the blocks of the name being enciphered or read
  UserNotices* notices_ = nullptr;
};

}  // namespace veilbox
