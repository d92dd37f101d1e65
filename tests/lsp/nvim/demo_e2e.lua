-- Neovim's built-in LSP client on the demo project with vemlo-lsp: each check
-- writes "PASS name" or "FAIL name: why" to $VEMLO_E2E_OUT. Run by
-- tests/lsp/neovim_e2e_test.cpp:
--   nvim --headless --clean -n -i NONE -c "luafile demo_e2e.lua"
-- with VEMLO_LSP (the server), VEMLO_DEMO (a copy of the built demo project),
-- VEMLO_REGISTRY (its options file) and VEMLO_FORMATTED (CloseDay as the
-- formatter leaves it).
local env = {
  lsp = os.getenv('VEMLO_LSP'),
  demo = os.getenv('VEMLO_DEMO'),
  registry = os.getenv('VEMLO_REGISTRY'),
  formatted = os.getenv('VEMLO_FORMATTED'),
  out = os.getenv('VEMLO_E2E_OUT'),
}
local report = assert(io.open(env.out, 'w'))
local failures = 0

local function check(name, ok, why)
  if ok then
    report:write('PASS ' .. name .. '\n')
  else
    failures = failures + 1
    report:write('FAIL ' .. name .. ': ' .. tostring(why) .. '\n')
  end
  report:flush()
end

local function finish()
  report:write('DONE ' .. failures .. '\n')
  report:close()
  vim.cmd('qall!')
end

-- The demo's files are DOS files: code page 866.
vim.o.fileencodings = 'cp866'
vim.o.swapfile = false

local client_id = vim.lsp.start_client({
  name = 'vemlo',
  cmd = { env.lsp },
  root_dir = env.demo,
  init_options = { registry = env.registry, codePage = '866' },
})
check('the client starts the server', client_id ~= nil, 'start_client gave nil')
if not client_id then return finish() end

vim.cmd('edit ' .. vim.fn.fnameescape(env.demo .. '/MAIN.PRG'))
local buf = vim.api.nvim_get_current_buf()
vim.lsp.buf_attach_client(buf, client_id)
local ready = vim.wait(10000, function()
  local c = vim.lsp.get_client_by_id(client_id)
  return c ~= nil and c.initialized
end, 20)
check('initialize answered', ready, 'the client did not get initialized in 10 s')
if not ready then return finish() end

local uri = vim.uri_from_bufnr(buf)

local function request(method, params)
  local answers, err = vim.lsp.buf_request_sync(buf, method, params, 10000)
  if not answers then return nil, err or 'no answer' end
  local a = answers[client_id]
  if not a then return nil, 'no answer from vemlo' end
  if a.err then return nil, vim.inspect(a.err) end
  return a.result
end

-- 0-based index of the first line holding `text` (plain), or nil.
local function line_of(text, from)
  local lines = vim.api.nvim_buf_get_lines(buf, 0, -1, false)
  for i = (from or 0) + 1, #lines do
    if lines[i]:find(text, 1, true) then return i - 1, lines[i] end
  end
end

local function pos(line, character)
  return { textDocument = { uri = uri }, position = { line = line, character = character } }
end

local function set_of(list)
  local s = {}
  for _, v in ipairs(list) do s[v] = true end
  return s
end

-- 1. Completion after "m.": a line typed into the main program (sent to the
-- server as an incremental change) lists the variables the program declares.
do
  local at = line_of('M.lQuit      = .F.')
  vim.api.nvim_buf_set_lines(buf, at + 1, at + 1, false, { 'm.' })
  local result, err = request('textDocument/completion', pos(at + 1, 2))
  local items = result and (result.items or result) or {}
  local vars, procs = {}, {}
  for _, item in ipairs(items) do
    if item.detail == 'var' then vars[item.label] = true end
    if item.kind == vim.lsp.protocol.CompletionItemKind.Function then procs[#procs + 1] = item.label end
  end
  local missing = {}
  for _, name in ipairs({ 'gcDataDir', 'gcUser', 'gdWorkDate', 'glAudit', 'gnVatRate', 'gcCompany',
                          'cChoice', 'nKey', 'lQuit', 'nTables' }) do
    if not vars[name] then missing[#missing + 1] = name end
  end
  check('completion after m. lists the variables', result ~= nil and #missing == 0,
        err or ('missing: ' .. table.concat(missing, ', ') .. ' in ' .. vim.inspect(vim.tbl_keys(vars))))
  check('completion after m. offers no procedures', result ~= nil and #procs == 0,
        err or table.concat(procs, ', '))
  vim.api.nvim_buf_set_lines(buf, at + 1, at + 2, false, {})
end

-- 2. Hover on SUBSTR: its topic from the demo's help base, as Markdown.
do
  local at, text = line_of('SUBSTR("NERDTQ"')
  local col = text:find('SUBSTR', 1, true) + 1 -- inside the word
  local result, err = request('textDocument/hover', pos(at, col))
  local value = result and result.contents and (result.contents.value or result.contents) or ''
  if type(value) ~= 'string' then value = vim.inspect(value) end
  check('hover on SUBSTR shows its topic',
        value:find('SUBSTR()', 1, true) and value:find('SUBSTR(<expC>, <expN1>', 1, true)
          and value:find('Returns the part of the character expression', 1, true),
        err or value)
  check('hover on SUBSTR names its See Also topics',
        value:find('See Also', 1, true) and value:find('LEFT()', 1, true) and value:find('ALLTRIM()', 1, true),
        err or value)
  check('hover is Markdown', result ~= nil and result.contents.kind == 'markdown', err or vim.inspect(result))
end

-- 3. Signature help inside SUBSTR(: the syntax with the active parameter.
do
  local at, text = line_of('SUBSTR("NERDTQ"')
  local open = text:find('SUBSTR(', 1, true) + #'SUBSTR(' - 1 -- 0-based column after "("
  local result, err = request('textDocument/signatureHelp', pos(at, open))
  local sig = result and result.signatures and result.signatures[1]
  local label = sig and sig.label or ''
  check('signature help inside SUBSTR( shows the syntax',
        label:find('SUBSTR(<expC>, <expN1> [, <expN2>])', 1, true) ~= nil, err or vim.inspect(result))
  local active = result and (result.activeParameter or (sig and sig.activeParameter))
  check('the first parameter is active after SUBSTR(', active == 0, vim.inspect(result))
  local comma = text:find(',', open + 1, true) -- 1-based index of the first comma
  local second = request('textDocument/signatureHelp', pos(at, comma))
  local active2 = second and (second.activeParameter or (second.signatures[1] or {}).activeParameter)
  check('the second parameter is active after the first comma', active2 == 1, vim.inspect(second))
  local params = sig and sig.parameters or {}
  local first = params[1] and params[1].label
  if type(first) == 'table' then first = label:sub(first[1] + 1, first[2]) end
  check('the parameters are the syntax pieces', #params == 3 and first == '<expC>', vim.inspect(params))
end

-- 4. Document symbols: every PROCEDURE and FUNCTION of the file, found here
-- from the text itself (lines between TEXT and ENDTEXT are output, not code).
do
  local expected = {}
  local in_text = false
  for _, line in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
    local word, name = line:match('^%s*(%a+)%s+([%w_]+)')
    local first = (line:match('^%s*(%a+)%s*$') or ''):upper()
    if first == 'TEXT' then in_text = true elseif first == 'ENDTEXT' then in_text = false end
    if word and #word >= 4 and not in_text then
      word = word:upper()
      if ('PROCEDURE'):sub(1, #word) == word or ('FUNCTION'):sub(1, #word) == word then
        expected[#expected + 1] = name
      end
    end
  end
  local result, err = request('textDocument/documentSymbol', { textDocument = { uri = uri } })
  local got = {}
  for _, s in ipairs(result or {}) do
    if s.kind == vim.lsp.protocol.SymbolKind.Function or s.kind == vim.lsp.protocol.SymbolKind.Method then
      got[#got + 1] = s.name
    end
  end
  check('document symbols list every procedure', #expected > 5 and vim.deep_equal(got, expected),
        err or ('expected ' .. table.concat(expected, ' ') .. ', got ' .. table.concat(got, ' ')))
  local ranges = true
  for _, s in ipairs(result or {}) do
    if not (s.range and s.selectionRange and s.range.start.line <= s.selectionRange.start.line) then ranges = false end
  end
  check('symbols carry ranges that hold their names', result ~= nil and ranges, vim.inspect(result))
end

-- 5. Formatting the procedure CloseDay gives the formatter's text.
do
  local first = line_of('PROCEDURE CloseDay')
  local last = line_of('RETURN', line_of('" cancelled, open: "'))
  local params = vim.lsp.util.make_given_range_params({ first + 1, 0 }, { last + 1, 0 })
  params.options = { tabSize = 8, insertSpaces = false }
  local edits, err = request('textDocument/rangeFormatting', params)
  if edits then vim.lsp.util.apply_text_edits(edits, buf, 'utf-16') end
  local got = vim.api.nvim_buf_get_lines(buf, first, last + 1, false)
  local want = {}
  for line in io.lines(env.formatted) do want[#want + 1] = (line:gsub('\r$', '')) end
  local diff = ''
  for i = 1, math.max(#got, #want) do
    if got[i] ~= want[i] then
      diff = ('line %d: got %q, want %q'):format(first + i, got[i] or '', want[i] or '')
      break
    end
  end
  check('formatting CloseDay gives the formatter\'s text', edits ~= nil and diff == '', err or diff)
  vim.cmd('silent undo')
end

-- 6. Go to definition of a library procedure lands in lib/UTILS.PRG.
do
  local at, text = line_of('DO AuditWrite WITH AUD_SYS_LOGIN')
  local col = text:find('AuditWrite', 1, true) + 2
  local result, err = request('textDocument/definition', pos(at, col))
  local loc = result and (result[1] or result)
  local target = loc and (loc.uri or loc.targetUri) or ''
  local range = loc and (loc.range or loc.targetSelectionRange)
  local want
  local n = 0
  for line in io.lines(env.demo .. '/lib/UTILS.PRG') do
    if line:find('^PROCEDURE AuditWrite') then want = n break end
    n = n + 1
  end
  check('definition of AuditWrite lands in lib/UTILS.PRG',
        target:match('/lib/UTILS%.PRG$') ~= nil and range and range.start.line == want,
        err or vim.inspect(result))
end

vim.lsp.stop_client(client_id)
vim.wait(5000, function() return vim.lsp.get_client_by_id(client_id) == nil end, 20)
finish()
