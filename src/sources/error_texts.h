// error_texts.h - the texts the picture sources leave in PageList::errorText.
// The viewer shows them as they stand; the wording is part of the interface.
#pragma once

inline constexpr char kNoErrorText[] = "エラーメッセージは無い。";
inline constexpr char kCannotOpenNextText[] = "次のファイルが開けないっす";
inline constexpr char kFileNotFoundText[] = "ファイル見つからないし";
inline constexpr char kNoPictureInArchiveText[] = "画像入ってないッス";
inline constexpr char kArchivePictureBrokenText[] = "書庫内の画像壊れてるんじゃね？";
inline constexpr char kNotSupportedText[] = "ってゆーか対応画像じゃねーよ。";
inline constexpr char kDecodeErrorText[] = "JPG展開エラーッす";
inline constexpr char kSearchHandleText[] = "あー検索ハンドルが文句たれとる。";
inline constexpr char kNoPictureInFolderText[] = "このフォルダに対応画像ねーよ";
// The built-in reader's own texts; every caller replaces them with its own.
inline constexpr char kFileHandleText[] = "ファイルハンドルが文句たれとる";
inline constexpr char kNotBmpText[] = "BMPじゃないよね";
inline constexpr char kBrokenBmpText[] = "BMPの中身がおかしいよ";
