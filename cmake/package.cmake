# The Debian package, made from the release build by CPack:
#   cmake --workflow --preset package   ->   build/release/deal_<version>_<arch>.deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME deal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Each package's summary is its own description's first line: CPack puts
# a shared summary before both unless it is CPack's own default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "deal built using CMake")
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
# A package for each component: the programs, deal, and the Python module,
# python3-deal, as Debian names a module for its python3.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME deal)
if(TARGET deal-python)
  set(CPACK_COMPONENTS_ALL programs python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-deal)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}), python3 (<< ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}.999)")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SUGGESTS "python3-sympy, python3-matplotlib")
  set(CPACK_DEBIAN_PYTHON_DESCRIPTION
      "Watch a deck being dealt and shuffled, from Python\nimport deal gives Python the core of the deal programs: decks and\nroutines of deals, cuts, faros, turns and riffles, their periods, cycles\nand rounds, chances and mixing as exact fractions, searches for the\nfewest moves that bring a card somewhere, and pictures that show inline\nin Jupyter.")
  # Compiled on install and cleaned away on removal, as Debian's Python
  # packages are.
  set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/debian/python3-deal/postinst
                                                ${PROJECT_SOURCE_DIR}/debian/python3-deal/prerm)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
else()
  set(CPACK_COMPONENTS_ALL programs)
endif()
set(CPACK_DEBIAN_PROGRAMS_DESCRIPTION "${PROJECT_DESCRIPTION}\n${CPACK_PACKAGE_DESCRIPTION}")
include(CPack)
