// The page's script and the build's own: ESLint's recommended rules, which
// catch names used but never defined or defined but never used, and a few
// more that catch real faults; and every function held to one screen, 80
// lines, as tests/function_lengths.py holds the C++.
import js from '@eslint/js';
import globals from 'globals';

export default [
  { ignores: ['node_modules/'] },
  js.configs.recommended,
  {
    languageOptions: { ecmaVersion: 2022, sourceType: 'module' },
    linterOptions: { reportUnusedDisableDirectives: 'error' },
    rules: {
      'max-lines-per-function': ['error', { max: 80 }],
      'no-unused-vars': ['error', { args: 'after-used', caughtErrors: 'none' }],
      'no-shadow': 'error',
      'no-use-before-define': ['error', { functions: false, classes: false, variables: false }],
      'no-implicit-coercion': ['error', { allow: ['!!'] }],
      'no-var': 'error',
      'prefer-const': 'error',
      eqeqeq: 'error',
      'no-eval': 'error',
      'no-implied-eval': 'error',
      'no-new-func': 'error',
      'no-self-compare': 'error',
      'no-template-curly-in-string': 'error',
      'no-unmodified-loop-condition': 'error',
      'no-unreachable-loop': 'error',
      'array-callback-return': 'error',
      'no-constructor-return': 'error',
      'no-promise-executor-return': 'error',
      'no-unused-private-class-members': 'error',
      'no-useless-assignment': 'error',
    },
  },
  // The page, in a browser.
  {
    files: ['script/**/*.js'],
    languageOptions: { globals: globals.browser },
  },
  // The page's build, run by Node.
  {
    files: ['*.js'],
    languageOptions: { globals: globals.node },
  },
];
