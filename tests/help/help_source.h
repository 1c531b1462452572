// The id of the help text's readable source among the test programs' own resources.
#ifndef BRUMIX_TESTS_HELP_SOURCE_H
#define BRUMIX_TESTS_HELP_SOURCE_H

#define HELP_SOURCE_TEXT 901

#endif
