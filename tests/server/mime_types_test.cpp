#include "server/mime_types.h"

#include <gtest/gtest.h>

TEST(MimeTypes, KnownExtensions) {
    EXPECT_EQ(MimeTypeForPath("index.html"), "text/html; charset=utf-8");
    EXPECT_EQ(MimeTypeForPath("old.htm"), "text/html; charset=utf-8");
    EXPECT_EQ(MimeTypeForPath("lib/app.min.js"), "application/javascript; charset=utf-8");
    EXPECT_EQ(MimeTypeForPath("game.wasm"), "application/wasm");
    EXPECT_EQ(MimeTypeForPath("music/theme.opus"), "audio/ogg; codecs=opus");
    EXPECT_EQ(MimeTypeForPath("music/theme.kar"), "audio/midi");
    EXPECT_EQ(MimeTypeForPath("fonts/a.woff2"), "font/woff2");
    EXPECT_EQ(MimeTypeForPath(".png"), "image/png");
}

TEST(MimeTypes, OnlyTheTextAfterTheLastDotCountsInAnyCase) {
    EXPECT_EQ(MimeTypeForPath("Photo.JpEg"), "image/jpeg");
    EXPECT_EQ(MimeTypeForPath("STYLE/Main.CSS"), "text/css; charset=utf-8");
    EXPECT_EQ(MimeTypeForPath("README"), "application/octet-stream");
    EXPECT_EQ(MimeTypeForPath(""), "application/octet-stream");
    EXPECT_EQ(MimeTypeForPath("docs.old/readme"), "application/octet-stream");
    EXPECT_EQ(MimeTypeForPath("docs.old/readme.txt"), "text/plain; charset=utf-8");
    EXPECT_EQ(MimeTypeForPath("archive.tar.gz"), "application/octet-stream");
    EXPECT_EQ(MimeTypeForPath("page.html."), "application/octet-stream");
    EXPECT_EQ(MimeTypeForPath("page.html "), "application/octet-stream");
}
