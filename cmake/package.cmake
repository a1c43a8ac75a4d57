# The Debian package: cpack --preset package (see README). Library dependencies come from
# dpkg-shlibdeps; what the program loads at run time (platform and speech plugins, the
# font) is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltyping)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://veltyping.example.jp/")
set(CPACK_PACKAGE_CONTACT "VelTyping developers <veltyping@example.jp>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "English vocabulary drill for Japanese learners")
# The extended description's lines stay within 80 columns, as Debian's checker asks.
set(CPACK_PACKAGE_DESCRIPTION
    "English words, or their Japanese meanings, or hidden spoken words fall down\n"
    "the play area, and the learner picks a word and then its translation before it\n"
    "reaches the bottom. Every answer is written to the word book at once. Word\n"
    "lists saved from a spreadsheet (CSV or TSV) open as word books. Includes\n"
    "velbook, which makes, exports and checks word books.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
# Installs into /usr under DESTDIR, whatever the build tree's own prefix; with DESTDIR set
# the cache refresh after an install stays out of the package.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The voices the program speaks with are flite's, loaded when first needed and played through
# the audio server's simple playback library, loaded alike (libflite1 and libpulse0, which
# dpkg-shlibdeps cannot see); the speech plugins serve the voice
# choice of the system's speech service. The answer log is read through Qt SQL's SQLite
# plugin, which is loaded at run time and so escapes dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libflite1, libpulse0, qt6-speech-speechd-plugin, qt6-speech-flite-plugin, fonts-ipafont-gothic, libqt6sql6-sqlite")
# Japanese texts on Qt's own dialog buttons; the voice plays through a PulseAudio server
# (PipeWire's serves as one); meanings for English words are proposed from the dictionaries.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, pulseaudio | pipewire-pulse, dict-freedict-eng-jpn, edict")
include(CPack)
