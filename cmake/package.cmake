# The Debian package, made from the release build by CPack:
#   cmake --workflow --preset package   ->   build/release/deal_<version>_<arch>.deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME deal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "deal lists the order of a deck, round after round, as it is dealt into hands of five\nand gathered up again; deal-period, deal-after, deal-cycles and deal-picture tell\nwhen the deck comes back, the order after any number of rounds, which positions\ntravel together, and draw it.")
set(CPACK_PACKAGE_CONTACT "The deal developers <deal@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries the programs link against, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${DEAL_PACKAGE_DEPENDS}")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "man-db")
set(CPACK_STRIP_FILES ON)
include(CPack)
