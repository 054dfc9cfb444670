# The Debian package, made from the release build by CPack:
#   cmake --workflow --preset package   ->   build/release/deal_<version>_<arch>.deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME deal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Debian's checker wants the lines of the long description under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "deal lists the order of a deck, round after round, as it is dealt into\nhands of five and gathered up again. deal-period, deal-after, deal-cycles\nand deal-picture tell, for that deal or any other, when the deck comes\nback, the order after any number of rounds, which positions travel\ntogether and which hand a card lands in, and draw it; deal-solve finds\nthe fewest moves that bring a card where a magician wants it, whichever\ncard the spectator chose; deal-group tells which orders a set of moves\ncan bring a deck to, and how; deal-mix tells how many riffle shuffles\nmix a deck.")
set(CPACK_PACKAGE_CONTACT "${DEAL_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries the programs link against, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${DEAL_PACKAGE_DEPENDS}")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "man-db")
set(CPACK_STRIP_FILES ON)
include(CPack)
